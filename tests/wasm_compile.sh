#!/usr/bin/env bash
# The game's Qt-free modules (the rules, both computer players and the choice between
# them, the turn cycle's controller, the saved game's text, the drawing list, the page's
# bridge) compile for WebAssembly (wasm32-wasi) with Debian's clang, wasi-libc and libc++,
# as the browser build needs: there libc++ has no <filesystem>, a throw does not compile
# with exceptions off, and there are no threads. Then their headless tests run as
# WebAssembly under Node's WASI, the module a page loads, morvel.wasm, plays there as the
# page drives it, and a second build gives the same folder, byte for byte.
#   wasm_compile.sh SOURCE BUILD
set -euo pipefail
source=$1
build=$2
MORVEL_WEB_TESTS=ON bash "$source/scripts/build-web.sh" "$build" "$build-out"
# Each object is WebAssembly, not this machine's code.
find "$build" -name '*.obj' -o -name '*.o' | head -1 | xargs file | grep -q WebAssembly
echo "wasm_compile: $(find "$build" -name '*.a' | wc -l) libraries for wasm32-wasi"
# The module a browser page loads, driven as the page drives it, under Node's WASI (which
# Debian 12's Node 18 offers only behind a flag).
flags=()
node -e 'require("node:wasi")' 2>/dev/null || flags=(--experimental-wasi-unstable-preview1)
for program in "$build"/tests/*.wasm; do
  node "${flags[@]}" --no-warnings "$source/tests/wasi_run.mjs" "$program" --gtest_brief=1
done
node "${flags[@]}" --no-warnings "$source/tests/web_node_test.mjs" "$build/web/morvel.wasm"
# Built again elsewhere, without the tests: the same folder.
bash "$source/scripts/build-web.sh" "$build-again" "$build-again-out" >/dev/null
diff -r "$build-out" "$build-again-out"
echo "wasm_compile: a second build gives the same $(find "$build-out" -type f | wc -l) files"
