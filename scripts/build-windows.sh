#!/usr/bin/env bash
# Builds Morvel for 64-bit Windows on Debian 12 or 13 (as root, or with sudo for the
# packages) and makes the two things a Windows player downloads:
#   morvel-<version>-windows-x86_64.zip        the portable folder
#   morvel-<version>-windows-x86_64-setup.exe  the installer (NSIS)
# in out/windows (or $MORVEL_WINDOWS_OUT). Qt for Windows is built once from Debian's
# qt6-base source and cached (scripts/windows-qt.sh). The game, its tools and its tests
# are built with -Werror into build-windows-qt (or $MORVEL_WINDOWS_BUILD);
# scripts/try-on-windows.sh runs them. The folder's licences\build-toolchain.txt names
# the Debian versions of the tools that built it.
# Two runs of one commit make the same bytes: no link times in the programs, every file
# date SOURCE_DATE_EPOCH or else the date of the Debian changelog's last entry, the zip's
# entries sorted.
#   build-windows.sh installer FOLDER VERSION OUTFILE
# makes only an installer of a folder laid out as the zip's Morvel folder (the proof makes
# an earlier version's with it).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${MORVEL_WINDOWS_OUT:-$root/out/windows}
build=${MORVEL_WINDOWS_BUILD:-$root/build-windows-qt}
start=$(date +%s)

# make_installer FOLDER VERSION OUTFILE: the uninstaller's list is every file of FOLDER,
# then every folder, deepest first.
make_installer() {
  local folder=$1 list
  list=$(mktemp)
  (cd "$folder" && find . -type f | LC_ALL=C sort | sed 's|^\./||; s|/|\\|g' |
    sed 's|.*|  Delete "$INSTDIR\\&"|'
  cd "$folder" && find . -mindepth 1 -type d | LC_ALL=C sort -r | sed 's|^\./||; s|/|\\|g' |
    sed 's|.*|  RMDir "$INSTDIR\\&"|') >"$list"
  makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$2" -DSTAGING="$folder" -DOUTFILE="$3" \
    -DSIZE_KB="$(du -sk --apparent-size "$folder" | cut -f1)" -DUNINSTALL_LIST="$list" \
    -DICON="$root/assets/icons/morvel.ico" "$root/packaging/windows/installer.nsi"
  rm -f "$list"
}
if [ "${1:-}" = installer ]; then
  make_installer "$2" "$3" "$4"
  exit
fi

qt=$(bash "$root/scripts/windows-qt.sh" | tail -1)
export MORVEL_WINDOWS_QT=$qt
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)

echo "build-windows: building the game for Windows against $qt"
mkdir -p "$build"
cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/packaging/windows/toolchain-mingw64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$qt" -DMORVEL_WINDOWS_QT="$qt" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$multiarch/cmake" \
  -DMORVEL_TESTS=ON -DMORVEL_BENCH=OFF -DMORVEL_WERROR=ON >"$build/configure.log" 2>&1 || {
  tail -30 "$build/configure.log" >&2
  exit 1
}
cmake --build "$build" -j2

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  signed=$(sed -n 's/^ -- .*>  //p' "$root/packaging/changelog.Debian.in" | head -1)
  SOURCE_DATE_EPOCH=$(LC_ALL=C date -u -d "$signed" +%s)
fi
# Debian's MinGW binutils write it, not the time, into the files they strip.
export SOURCE_DATE_EPOCH
version=$(sed -n 's/^project(Morvel VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
name=morvel-$version-windows-x86_64

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
folder=$stage/Morvel
cmake --install "$build" --prefix "$folder" >/dev/null
# The tools that built the game and made its zip and installer (Qt's own are in
# licences\qt\build).
{
  echo "Debian $(sed -n 's/^VERSION_ID=//p' /etc/os-release | tr -d '"')"
  dpkg-query -W -f='${Package} ${Version}\n' g++-mingw-w64-x86-64-posix gcc-mingw-w64-base \
    mingw-w64-x86-64-dev binutils-mingw-w64-x86-64 cmake ninja-build qt6-base-dev-tools \
    fonts-dejavu-core nsis zip
} >"$folder/licences/build-toolchain.txt"
mapfile -t shipped < <(find "$folder" -name '*.exe' -o -name '*.dll' | sort)
x86_64-w64-mingw32-strip --strip-all "${shipped[@]}"
# Every program and DLL shipped loads at a random address, high ones too, with data that is
# never run; the programs' version information and manifests carry the version as the
# four numbers Windows wants.
version4=$(cmake -DMORVEL_PRINT_VERSION="$version" -P "$root/cmake/windows_version.cmake")
pe_check() {
  python3 "$root/tools/pe_check.py" "$@" >"$build/pe-check.log" || {
    cat "$build/pe-check.log" >&2
    exit 1
  }
}
pe_check "${shipped[@]}"
pe_check --version "$version4" --manifest "$folder/morvel.exe" "$folder/morvel-cli.exe"
find "$folder" -type d -exec chmod 755 {} + && find "$folder" -type f -exec chmod 644 {} +
find "$folder" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +

mkdir -p "$out"
rm -f "$out/$name.zip" "$out/$name-setup.exe"
# The zip holds one folder, Morvel, its entries sorted, with no owners or Unix times; zip
# writes local times, so the time zone is UTC.
(cd "$stage" && find Morvel | LC_ALL=C sort |
  TZ=UTC zip -q -X -9 -@ "$out/$name.zip")

make_installer "$folder" "$version" "$out/$name-setup.exe"
pe_check --version "$version4" "$out/$name-setup.exe"
touch -d "@$SOURCE_DATE_EPOCH" "$out/$name.zip" "$out/$name-setup.exe"

echo "build-windows: $(du -h "$out/$name.zip" | cut -f1) $out/$name.zip"
echo "build-windows: $(du -h "$out/$name-setup.exe" | cut -f1) $out/$name-setup.exe"
echo "build-windows: done in $(($(date +%s) - start)) s"
