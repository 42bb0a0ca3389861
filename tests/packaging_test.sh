#!/usr/bin/env bash
# Installing: `packaging_test.sh folder BUILD ID` installs with `cmake --install` into a
# fresh folder, checks where the files land and runs the tool after moving the folder;
# `packaging_test.sh deb BUILD ID` builds the Debian package with CPack and checks its
# files and dependencies, lintian, the desktop entry, the metainfo and the man pages, and
# runs the programs from its contents; `packaging_test.sh reproducible BUILD ID SOURCE`
# makes the package again as another builder would and compares the two byte for byte;
# `packaging_test.sh release BUILD ID SOURCE` checks the version and changelog a package
# gets on other Debian-like systems; `packaging_test.sh try BUILD ID SOURCE` checks
# scripts/try-on-debian.sh's choice of archive and its base making.
set -u
source "$(dirname "$0")/check.sh"
mode=$1
build=$2
id=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ "$mode" = reproducible ]; then
  source_dir=$4
  (cd "$build" && cpack -G DEB -B "$work/one" >"$work/cpack.log" 2>&1)
  check "the first package is made" $?
  # The second builder: another user (nobody, when this runs as root), a copy of the
  # sources that it does not own, with new file dates, in other folders, another umask,
  # time zone and locale, and a build of its own.
  mkdir "$work/copy"
  if git -C "$source_dir" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    (cd "$source_dir" && git ls-files -z --cached --others --exclude-standard |
      tar --null -T - -cf -) | tar -x -C "$work/copy"
  else
    tar -C "$source_dir" --exclude='./build*' -cf - . | tar -x -C "$work/copy"
  fi
  other=(env)
  if [ "$(id -u)" -eq 0 ]; then other=(setpriv --reuid=nobody --regid=nogroup --clear-groups env); fi
  chmod 755 "$work"
  otherdir=$(mktemp -d /tmp/morvel-other.XXXXXX)
  [ "$(id -u)" -eq 0 ] && chown nobody "$otherdir"
  "${other[@]}" -i PATH="$PATH" HOME=/nonexistent TZ=Pacific/Kiritimati LC_ALL=C.UTF-8 \
    bash -c 'umask 077 && cmake -S "$1" -B "$2/build" -DCMAKE_BUILD_TYPE=Release \
               -DMORVEL_TESTS=OFF -DMORVEL_BENCH=OFF -DMORVEL_WERROR=ON &&
             cmake --build "$2/build" -j2 --target morvel morvel-cli compressed-docs &&
             cd "$2/build" && cpack -G DEB -B "$2/out"' \
    other "$work/copy" "$otherdir" >"$work/other.log" 2>&1
  check "another user makes the package from a copy it does not own" $?
  one=$(ls "$work"/one/*.deb) two=$(ls "$otherdir"/out/*.deb 2>/dev/null)
  sum=$(sha256sum <"$one" | cut -c1-16)
  if ! cmp "$one" "$two"; then
    tail -20 "$work/other.log"
    command -v diffoscope >/dev/null && diffoscope "$one" "$two" | head -100
  fi
  check "both packages are the same bytes ($sum)" $?
  # Without a date in the changelog's last entry (nor SOURCE_DATE_EPOCH) no package is made.
  sed -i 's/^ -- \(.*>\)  .*/ -- \1  someday/' "$work/copy/packaging/changelog.Debian.in"
  (cd "$otherdir/build" && env -u SOURCE_DATE_EPOCH cpack -G DEB -B "$otherdir/undated") \
    >"$work/undated.log" 2>&1
  [ $? -ne 0 ] && grep -q 'No date for the package' "$work/undated.log" &&
    ! ls "$otherdir"/undated/*.deb 2>/dev/null
  check "no date, no package" $?
  rm -rf "$otherdir"
  finish
  exit
fi

if [ "$mode" = try ]; then
  # The pieces of scripts/try-on-debian.sh that need no Debian of their own, sourced into
  # a shell of their own with stand-ins for apt-get, debootstrap and tar.
  mkdir "$work/bin" "$work/cache"
  printf '#!/bin/sh\necho "Debian|http://archive/"\n' >"$work/bin/apt-get"
  printf '#!/bin/sh\nmkdir -p "$3"\n' >"$work/bin/debootstrap"
  printf '#!/bin/sh\necho half >"$4"\nexit 1\n' >"$work/bin/tar"  # fails half-way
  chmod +x "$work"/bin/*
  script=$4/scripts/try-on-debian.sh
  try() { MORVEL_TRY_CACHE="$work/cache" PATH="$work/bin:$PATH" bash -c "source '$script'; $1"; }
  [ "$(printf '%s\n' 'Debian-Security|http://security/' 'Debian Backports|http://backports/' \
         'Debian|http://archive/' 'Debian|http://second/' | try debian_archive)" = http://archive/ ]
  check "the archive labelled Debian, not its backports nor its security archive" $?
  try 'make_base bookworm' >/dev/null 2>&1
  [ $? -ne 0 ] && [ -z "$(ls "$work/cache" | grep -v '^bookworm.log$')" ]
  check "a failed tar leaves no base behind" $?
  finish
  exit
fi

if [ "$mode" = release ]; then
  source_dir=$4
  # Faked os-release files: the version and the changelog stay well formed everywhere.
  while read -r name expected distribution fields; do
    printf '%b\n' "$fields" >"$work/$name"
    cmake -DOS_RELEASE="$work/$name" -DVERSION=1.3 -DCHANGELOG="$work/$name.changelog" \
      -P "$source_dir/packaging/deb_release.cmake" &&
      [ "$(dpkg-parsechangelog -l "$work/$name.changelog" -S Version)" = "$expected" ] &&
      [ "$(dpkg-parsechangelog -l "$work/$name.changelog" -S Distribution)" = "$distribution" ]
    check "$name: version $expected, distribution $distribution" $?
  done <<'EOF'
debian12 1.3-1~deb12 bookworm ID=debian\nVERSION_ID="12"\nVERSION_CODENAME=bookworm
debian13 1.3-1~deb13 trixie ID=debian\nVERSION_ID="13"\nVERSION_CODENAME=trixie
testing 1.3-1 unstable PRETTY_NAME="Debian GNU/Linux forky/sid"\nID=debian\nVERSION_CODENAME=forky
sid 1.3-1 unstable ID=debian
ubuntu 1.3-1 noble ID=ubuntu\nID_LIKE=debian\nVERSION_ID="24.04"\nVERSION_CODENAME=noble
odd-name 1.3-1~deb13 unstable ID=debian\nVERSION_ID="13"\nVERSION_CODENAME="Trixie Beta"
no-name 1.3-1~deb13 unstable ID=debian\nVERSION_ID=13
nothing 1.3-1 unstable
EOF
  finish
  exit
fi

if [ "$mode" = folder ]; then
  prefix="$work/my games"  # a blank in the path, as players' folders often have
  cmake --install "$build" --prefix "$prefix" >/dev/null
  check "install succeeds" $?
  for f in bin/morvel bin/morvel-cli "share/applications/$id.desktop" \
           "share/icons/hicolor/32x32/apps/$id.png" share/man/man6/morvel.6.gz; do
    [ -e "$prefix/$f" ]; check "installs $f" $?
  done
  grep -qx "Exec=\"$prefix/bin/morvel\"" "$prefix/share/applications/$id.desktop" &&
    desktop-file-validate "$prefix/share/applications/$id.desktop"
  check "the desktop entry starts the installed program, its path quoted" $?
  # Moved elsewhere, the folder still works.
  mv "$prefix" "$work/moved"
  "$work/moved/bin/morvel-cli" arena --p1 random --p2 low --games 3 --seed 1 | grep -q '^games 3,'
  check "the moved tool runs" $?
  ! ldd "$work/moved/bin/morvel" | grep -q 'not found'
  check "the program finds every library it needs" $?
  finish
  exit
fi

# Say what is missing, and where it comes from, rather than fail somewhere inside CPack.
missing=()
for tool in dpkg-shlibdeps:dpkg-dev fakeroot:fakeroot lintian:lintian \
            desktop-file-validate:desktop-file-utils appstreamcli:appstream man:man-db; do
  command -v "${tool%%:*}" >/dev/null || missing+=("${tool%%:*} (Debian package ${tool#*:})")
done
if [ ${#missing[@]} -gt 0 ]; then
  printf 'FAIL: the package checks need %s; scripts/setup.sh installs them\n' "${missing[@]}"
  exit 1
fi

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1)
check "cpack -G DEB builds the package" $?
# The version says the Debian release the package was made for.
release=1
os=$( (. /etc/os-release && echo "${ID:-}:${VERSION_ID:-}") 2>/dev/null)
[[ "$os" =~ ^debian:([0-9]+)$ ]] && release="1~deb${BASH_REMATCH[1]}"
deb="$work/out/morvel_1.3-${release}_$(dpkg --print-architecture).deb"
[ -f "$deb" ]; check "named in Debian's convention (${deb##*/})" $?
[ -f "$deb" ] || { ls "$work/out"; cat "$work/cpack.log"; exit 1; }
[ "$(dpkg-deb -f "$deb" Version)" = "1.3-$release" ]; check "version 1.3-$release" $?

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/files"
expected=(/usr/games/morvel /usr/games/morvel-cli "/usr/share/applications/$id.desktop"
          "/usr/share/metainfo/$id.metainfo.xml" /usr/share/man/man6/morvel.6.gz
          /usr/share/man/man6/morvel-cli.6.gz /usr/share/doc/morvel/copyright
          /usr/share/doc/morvel/changelog.Debian.gz)
for size in 16 22 24 32 48 64 128 256; do
  expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for f in "${expected[@]}"; do
  grep -qx "$f" "$work/files"; check "the package holds $f" $?
done
! grep -E '^/usr/(bin|lib)/' "$work/files"; check "nothing in /usr/bin or /usr/lib" $?

depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 qt6-qpa-plugins fonts-dejavu-core; do
  grep -q "$needed" <<<"$depends"; check "Depends names $needed ($depends)" $?
done
[ "$(dpkg-deb -f "$deb" Section)" = games ]; check "section games" $?

lintian --pedantic "$deb" >"$work/lintian" 2>&1
cat "$work/lintian"
! grep -q '^E:' "$work/lintian"; check "lintian finds no error" $?

dpkg-deb -x "$deb" "$work/root"
zcat "$work/root/usr/share/doc/morvel/changelog.Debian.gz" | head -1 | grep -qF "morvel (1.3-$release) "
check "the changelog's version is the package's" $?
desktop-file-validate "$work/root/usr/share/applications/$id.desktop"
check "desktop-file-validate passes" $?
grep -qx "Exec=morvel" "$work/root/usr/share/applications/$id.desktop"
check "the desktop entry starts morvel from the PATH" $?
# The project has no web address yet: the missing homepage is the one warning allowed
# (Debian 13's appstreamcli fails on it, Debian 12's does not mention it).
appstreamcli validate --no-net "$work/root/usr/share/metainfo/$id.metainfo.xml" >"$work/appstream" 2>&1
validated=$?
cat "$work/appstream"
problems=$(grep -E '^[EW]: ' "$work/appstream" | grep -v -E '^W: [^ ]+ url-homepage-missing$')
[ $validated -eq 0 ] || [ -z "$problems" ]
check "appstreamcli validate passes but for the missing homepage $problems" $?
for page in morvel morvel-cli; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 \
               "$work/root/usr/share/man/man6/$page.6.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ]; check "man $page renders without warnings $warnings" $?
done

# The programs from the package's contents; the game answers without a display.
games=$work/root/usr/games
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$games/morvel" --version >"$work/version"
[ "$(head -1 "$work/version")" = "morvel 1.3" ]
check "morvel --version without a display" $?
# The notice Qt's licence asks for, with the place of the licences in the package.
grep -q "Qt $(dpkg-query -W -f='${Version}' libqt6core6 libqt6core6t64 2>/dev/null |
  sed 's/[+~-].*//').*LGPL 3.0" "$work/version" &&
  grep -qF /usr/share/doc/morvel/copyright "$work/version" &&
  [ -f "$work/root/usr/share/doc/morvel/copyright" ] &&
  grep -q 'reverse engineer' "$work/root/usr/share/doc/morvel/copyright"
check "morvel --version names Qt, its licence, and the copyright file, which grants LGPL-3's rights" $?
env -u DISPLAY QT_QPA_PLATFORM=xcb "$games/morvel" --help | grep -q 'hra.dat'
check "morvel --help" $?
env -u DISPLAY QT_QPA_PLATFORM=xcb "$games/morvel" --no-such-option >/dev/null 2>"$work/err"
[ $? -eq 2 ] && [ -s "$work/err" ]; check "morvel with an unknown option: exit 2" $?
"$games/morvel-cli" --help | grep -q arena; check "morvel-cli --help" $?
"$games/morvel-cli" arena --p1 random --p2 high --games 5 --seed 3 --check | grep -q '^games 5,'
check "a short arena run" $?
finish
