#!/usr/bin/env bash
# Installs what the game needs and is missing, builds the game and starts it; its
# arguments go to the game (`bash scripts/play.sh --version` needs no display).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh" play
# Only the game: the tests' and benchmarks' libraries are the test command's business.
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release -DMORVEL_TESTS=OFF \
  -DMORVEL_BENCH=OFF >/dev/null
cmake --build "$root/build" -j2 --target morvel
exec "$root/build/app/morvel" "$@"
