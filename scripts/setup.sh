#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build, the game and the tests need and
# the machine does not have yet. Safe to run again: it installs nothing twice.
set -euo pipefail

packages=(
  ca-certificates g++ make cmake pkg-config
  qt6-base-dev qt6-qpa-plugins libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-dev git
  xvfb xauth xdotool x11-utils x11-apps imagemagick python3 libx11-dev libxfixes-dev
  fonts-dejavu-core
  libcli11-dev
  dpkg-dev fakeroot lintian desktop-file-utils appstream groff-base man-db util-linux
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

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
