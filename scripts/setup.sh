#!/usr/bin/env bash
# Installs, from Debian's packages, what one of the README's two commands needs and the
# machine does not have yet; safe to run again, it installs nothing twice.
#   setup.sh play   what the game needs to build and run
#   setup.sh test   that, and what the tests, the benchmarks, the fuzzer, the package
#                   checks and the Windows build of the Qt-free modules under Wine need
#   setup.sh windows  what the Windows cross-build needs
# Every name is one that Debian 12 and Debian 13 both have.
set -euo pipefail

play=(
  g++ make cmake
  qt6-base-dev qt6-qpa-plugins libgl-dev libcli11-dev
  fonts-dejavu-core
)
test=(
  "${play[@]}"
  ca-certificates pkg-config git util-linux
  libgtest-dev libgmock-dev libbenchmark-dev
  clang lld llvm libclang-rt-dev libclang-rt-dev-wasm32 wasi-libc libc++-dev-wasm32 nodejs
  chromium chromium-driver python3-selenium python3-pil fonttools
  firefox-esr webkit2gtk-driver npm
  xvfb xauth xdotool x11-utils x11-apps imagemagick python3 libx11-dev libxfixes-dev
  dpkg-dev fakeroot lintian desktop-file-utils appstream groff-base man-db
  g++-mingw-w64-x86-64-posix googletest wine wine64
)
# The Windows build: MinGW-w64 for the game and for Qt (built from Debian's qt6-base
# source with this release's own host tools), the font the program carries, NSIS for the
# installer; and for its proof openbox, the window manager under which it looks at the
# screens, and Wine's own fonts, which stand in for a Windows's fonts.
windows=(
  cmake ninja-build g++-mingw-w64-x86-64-posix qt6-base-dev qt6-base-dev-tools dpkg-dev
  fonts-dejavu-core nsis zip googletest libcli11-dev locales openbox fonts-wine
)

case "${1:-}" in
  play) packages=("${play[@]}") ;;
  test) packages=("${test[@]}") ;;
  windows) packages=("${windows[@]}") ;;
  *)
    echo "usage: $0 play|test|windows" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
  # A Node.js of another origin may carry its own npm, which Debian's would conflict with.
  if [ "$p" = npm ] && command -v npm >/dev/null 2>&1; then
    continue
  fi
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then
    as_root=()
  elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
  else
    echo "setup: need root (or sudo) to install: ${missing[*]}" >&2
    exit 1
  fi
  echo "setup: installing ${missing[*]}"
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The browser tests' two packages from the npm registry, at the versions of the lock file
# (Firefox's driver over WebDriver BiDi, and the accessibility checker); their install
# scripts do not run, so nothing else is fetched.
if [ "$1" = test ]; then
  web="$(cd "$(dirname "$0")/.." && pwd)/tests/web"
  if ! cmp -s "$web/package-lock.json" "$web/node_modules/.installed-lock.json" 2>/dev/null; then
    echo "setup: installing the browser tests' npm packages"
    (cd "$web" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error &&
      cp package-lock.json node_modules/.installed-lock.json)
  fi
fi
