#!/usr/bin/env bash
# Builds the game for the browser: the Qt-free modules and the page's module morvel.wasm
# for wasm32-wasi with Debian's clang, wasi-libc and libc++ (cmake/wasm32-wasi.cmake), then
# writes a static folder any web host serves: the page, the module, the pictures, the
# font (its letters for Czech) and the licences.
#   scripts/build-web.sh [BUILD] [OUT]   (default: build-web, out/web)
# With MORVEL_WEB_TESTS=ON the build also has the modules' headless tests, as WebAssembly
# programs in BUILD/tests (tests/wasi_run.mjs runs one under Node).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-web}
out=${2:-$root/out/web}
# Debian 12's clang 14 does not find libc++'s headers for this target by itself: their
# folder is the one the installed package's file list has.
header=$(dpkg-query -S '*/wasm32-wasi/c++/v1/vector' 2>/dev/null | head -1 | sed 's/^[^:]*: //')
if [ -z "$header" ]; then
  echo "build-web: no libc++ for wasm32-wasi (package libc++-dev-wasm32)" >&2
  exit 1
fi
rm -rf "$build"
mkdir -p "$(dirname "$build")"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/wasm32-wasi.cmake" \
  -DMORVEL_WASM_LIBCXX_INCLUDE="$(dirname "$header")" -DCMAKE_BUILD_TYPE=MinSizeRel \
  -DMORVEL_TESTS="${MORVEL_WEB_TESTS:-OFF}" \
  >"$build.log" 2>&1 || {
  cat "$build.log" >&2
  exit 1
}
cmake --build "$build" -j2
rm -rf "$out"
mkdir -p "$out/icons"
cp "$build/web/morvel.wasm" "$out/"
for page in "$root"/web/page/*; do
  case $page in *.in) ;; *) cp "$page" "$out/" ;; esac
done
cp "$root"/assets/*.png "$out/"
cp "$root"/assets/icons/morvel-*.png "$out/icons/"
# The face the desktop draws with, cut down to the letters a Czech text can need: basic
# Latin, Latin-1 (©, ×), Latin Extended-A (č, ř, ů…) and the typographic quotes and dashes.
pyftsubset /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf \
  --unicodes="U+0020-007E,U+00A0-00FF,U+0100-017F,U+2013-2014,U+2018-201E,U+2026" \
  --output-file="$out/DejaVuSans-Bold.ttf" 2>/dev/null
mkdir -p "$out/licences"
cp /usr/share/doc/fonts-dejavu-core/copyright "$out/licences/dejavu-fonts.txt"
cp "$root/packaging/copyright" "$out/licences/morvel.txt"
# The splash written into the page from the module, so that it shows before the scripts.
node "$root/tools/prerender.mjs" "$out"
# The service worker keeps every file of the folder, under a name that changes with them.
files=$(cd "$out" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
hash=$(cd "$out" && cat $files | sha256sum | cut -c1-16)
list=$(printf '"./"'; for f in $files; do printf ', "%s"' "$f"; done)
sed -e "s|@HASH@|$hash|" -e "s|@FILES@|$list|" "$root/web/page/sw.js.in" >"$out/sw.js"
echo "build-web: $out ($(du -sk "$out" | cut -f1) KB, $(echo "$files" | wc -l) files and sw.js)"
