#!/usr/bin/env bash
# The game's Qt-free modules (the rules, both computer players and the choice between
# them, the turn cycle's controller, the saved game's text, the drawing list, the page's
# bridge) compile for WebAssembly (wasm32-wasi) with Debian's clang, wasi-libc and libc++,
# as the browser build needs: there libc++ has no <filesystem>, a throw does not compile
# with exceptions off, and there are no threads. Then the module a page loads, morvel.wasm,
# plays under Node's WASI. wasm_compile.sh SOURCE BUILD.
set -euo pipefail
source=$1
build=$2
bash "$source/scripts/build-web.sh" "$build" "$build-out"
# Each object is WebAssembly, not this machine's code.
find "$build" -name '*.obj' -o -name '*.o' | head -1 | xargs file | grep -q WebAssembly
echo "wasm_compile: $(find "$build" -name '*.a' | wc -l) libraries for wasm32-wasi"
# The module a browser page loads, driven as the page drives it, under Node's WASI (which
# Debian 12's Node 18 offers only behind a flag).
flags=()
node -e 'require("node:wasi")' 2>/dev/null || flags=(--experimental-wasi-unstable-preview1)
node "${flags[@]}" --no-warnings "$source/tests/web_node_test.mjs" "$build/web/morvel.wasm"
