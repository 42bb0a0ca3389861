#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: once in an optimised
# build, once under AddressSanitizer and UndefinedBehaviorSanitizer, then fuzzes the
# saved-game reader for half a minute.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"

export QT_QPA_PLATFORM=offscreen

echo "== optimised build"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build" -j2
(cd "$root/build" && ctest --output-on-failure -j2)

echo "== sanitizer build"
cmake -S "$root" -B "$root/build-san" -DCMAKE_BUILD_TYPE=Debug -DMORVEL_SANITIZE=ON \
  -DMORVEL_BENCH=OFF >/dev/null
cmake --build "$root/build-san" -j2
(cd "$root/build-san" && ctest --output-on-failure -j2)

echo "== fuzzing the saved-game reader"
cmake -S "$root" -B "$root/build-fuzz" -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVEL_FUZZ=ON -DMORVEL_GUI=OFF -DMORVEL_TESTS=OFF \
  -DMORVEL_BENCH=OFF >/dev/null
cmake --build "$root/build-fuzz" -j2 --target fuzz_savegame
(cd "$root/build-fuzz" && ctest --output-on-failure)
