#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: once in an optimised
# build, once under AddressSanitizer and UndefinedBehaviorSanitizer, then fuzzes the
# saved-game reader for half a minute, and last builds the Qt-free modules for Windows and
# runs their tests under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh" test

export QT_QPA_PLATFORM=offscreen

passed=0
failed=0
# Runs CTest in a build folder and adds its counts to the totals printed at the end.
run_ctest() {
  local log
  log=$(mktemp)
  local status=0
  (cd "$1" && shift && ctest --output-on-failure "$@") | tee "$log" || status=$?
  local summary
  summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -1)
  rm -f "$log"
  if [ -n "$summary" ]; then
    local total bad
    bad=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$summary")
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
    failed=$((failed + bad))
    passed=$((passed + total - bad))
  fi
  return "$status"
}

echo "== optimised build"
# The play command may have configured this folder without the tests.
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release -DMORVEL_TESTS=ON \
  -DMORVEL_BENCH=ON -DMORVEL_WERROR=ON >/dev/null
cmake --build "$root/build" -j2
run_ctest "$root/build" -j2

echo "== sanitizer build"
cmake -S "$root" -B "$root/build-san" -DCMAKE_BUILD_TYPE=Debug -DMORVEL_SANITIZE=ON \
  -DMORVEL_BENCH=OFF -DMORVEL_WERROR=ON >/dev/null
cmake --build "$root/build-san" -j2
run_ctest "$root/build-san" -j2

echo "== fuzzing the saved-game reader"
cmake -S "$root" -B "$root/build-fuzz" -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVEL_FUZZ=ON -DMORVEL_GUI=OFF -DMORVEL_TESTS=OFF \
  -DMORVEL_BENCH=OFF -DMORVEL_WERROR=ON >/dev/null
cmake --build "$root/build-fuzz" -j2 --target fuzz_savegame
run_ctest "$root/build-fuzz"

echo "== the Qt-free modules built for Windows, their tests under Wine"
# Keeps the saved game and the tools from drifting back into calls only POSIX has.
cmake -S "$root" -B "$root/build-windows" \
  -DCMAKE_TOOLCHAIN_FILE="$root/packaging/windows/toolchain-mingw64.cmake" \
  -DMORVEL_GUI=OFF -DMORVEL_BENCH=OFF -DMORVEL_TESTS=ON -DMORVEL_WERROR=ON >/dev/null
cmake --build "$root/build-windows" -j2
export WINEPREFIX="$root/build-windows/wine"
# The Wine prefix is made once, before two tests at a time could each start making it.
WINEDEBUG=-all wineboot -i >/dev/null 2>&1 && wineserver -w
run_ctest "$root/build-windows" -j2
wineserver -k 2>/dev/null || true

echo
echo "all builds: $passed passed, $failed failed"
