#!/usr/bin/env bash
# Builds Qt for 64-bit Windows from Debian's own qt6-base source of this machine's release,
# once, and keeps it in a cache folder keyed by the Qt version and by this script and the
# toolchain file: a second run finds it there and builds nothing. Prints the folder of
# the built Qt on its last line. Needs root only to install packages and to write under
# /var/cache (MORVEL_WINDOWS_CACHE chooses another folder).
#
# The host tools (moc, rcc, uic) are the release's qt6-base-dev-tools, which has exactly
# the version of the source, so the source is fetched at that version.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cache=${MORVEL_WINDOWS_CACHE:-/var/cache/morvel-windows}
bash "$root/scripts/setup.sh" windows >&2

version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
upstream=${version%%+*}
upstream=${upstream%%-*}
# Only what the game and its tests use. Debian's source has no wintab.h (it is not free),
# hence no tablet events; Qt 6.4's Windows platform plugin needs OpenGL on. The bundled
# libraries build for Windows.
options=(
  -DCMAKE_BUILD_TYPE=Release -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
  -DQT_BUILD_BENCHMARKS=OFF -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF
  -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF
  -DFEATURE_tabletevent=OFF -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF
  -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF
  -DFEATURE_jpeg=OFF -DFEATURE_system_doubleconversion=OFF -DFEATURE_sql_sqlite=OFF
)
# The compiler, its runtime and the linker that build Qt, at their Debian versions: these
# are recorded beside Qt's licences and are part of the cache's key.
toolchain=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-base mingw-w64-x86-64-dev
  binutils-mingw-w64-x86-64 cmake ninja-build qt6-base-dev-tools)
toolchain_versions() {
  dpkg-query -W -f='${Package} ${Version}\n' "${toolchain[@]}"
}
# The cache is keyed by the exact Debian version, these options, the toolchain file and
# the toolchain's versions.
key=$( (echo "$version" && printf '%s\n' "${options[@]}" &&
  cat "$root/packaging/windows/toolchain-mingw64.cmake" && toolchain_versions) |
  sha256sum | cut -c1-12)
prefix="$cache/qt-$upstream-$key"
if [ -f "$prefix/.complete" ]; then
  echo "windows-qt: Qt $upstream for Windows is cached in $prefix" >&2
  echo "$prefix"
  exit 0
fi

work="$cache/work-$upstream"
rm -rf "$work" "$prefix"
mkdir -p "$work/apt/lists/partial" "$work/apt/sources.list.d"

# The source of the same archive the machine installs from, asked for through an apt
# configuration of its own, so the machine's sources and lists stay as they are.
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
  [ -f "$f" ] && sed -n -E 's/^deb[[:space:]]/deb-src /p' "$f"
done >"$work/apt/sources.list"
i=0
for f in /etc/apt/sources.list.d/*.sources; do
  [ -f "$f" ] || continue
  sed -E 's/^Types:.*/Types: deb-src/' "$f" >"$work/apt/sources.list.d/$i.sources"
  i=$((i + 1))
done
apt_src=(-o "Dir::Etc::SourceList=$work/apt/sources.list"
  -o "Dir::Etc::SourceParts=$work/apt/sources.list.d"
  -o "Dir::State::Lists=$work/apt/lists" -o "Debug::NoLocking=1")
echo "windows-qt: fetching the source of qt6-base $version" >&2
apt-get "${apt_src[@]}" update -q >&2
(cd "$work" && apt-get "${apt_src[@]}" source -q --download-only "qt6-base=$version" >&2 &&
  dpkg-source --no-check -x qt6-base_*.dsc src >&2)

multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
start=$(date +%s)
echo "windows-qt: configuring Qt $upstream for Windows" >&2
cmake -S "$work/src" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/packaging/windows/toolchain-mingw64.cmake" \
  -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$multiarch/cmake" "${options[@]}" \
  >"$work/configure.log" 2>&1 || {
  tail -40 "$work/configure.log" >&2
  exit 1
}
echo "windows-qt: building (about 25 minutes on 2 cores)" >&2
cmake --build "$work/build" -j2 >"$work/build.log" 2>&1 || {
  tail -40 "$work/build.log" >&2
  exit 1
}
cmake --install "$work/build" >"$work/install.log" 2>&1
# The licences of Qt and of the libraries bundled in its source, and which source the
# DLLs were built from: shipped with them.
licences="$prefix/licences"
mkdir -p "$licences/3rdparty"
cp "$work"/src/LICENSES/*.txt "$licences/"
cp "$work/src/debian/copyright" "$licences/debian-copyright.txt"
(cd "$work/src/src/3rdparty" &&
  find . -maxdepth 3 -type f \( -iname 'LICEN[CS]E*' -o -iname 'COPYING*' -o -name FTL.TXT \) |
  while read -r f; do
    d=${f#./}
    cp "$f" "$licences/3rdparty/$(printf '%s' "$d" | tr / _)"
  done)
echo "qt6-base $version, Debian $(sed -n 's/^VERSION_ID=//p' /etc/os-release | tr -d '"')" \
  >"$licences/SOURCE.txt"
# How this Qt was built, for whoever builds a changed Qt to use with the game: this script
# (its configure options above), the toolchain file, and the tools' Debian versions.
mkdir -p "$licences/build"
cp "$root/scripts/windows-qt.sh" "$licences/build/windows-qt.sh.txt"
cp "$root/packaging/windows/toolchain-mingw64.cmake" "$licences/build/toolchain-mingw64.cmake.txt"
toolchain_versions >"$licences/build/toolchain-versions.txt"
touch "$prefix/.complete"
echo "windows-qt: Qt built in $(($(date +%s) - start)) s" >&2
rm -rf "$work"
echo "$prefix"
