#!/bin/sh
# Builds the page into build-web/: the three programs in WebAssembly (with
# emcmake, in build-wasm/), the page's own files from web/, and the board
# and rules libraries from web/node_modules (installed with npm ci from the
# lock file when missing). Everything the page loads is then in build-web/.
# Usage: tools/web_build.sh [BUILD_WEB_DIR [WASM_BUILD_DIR]]
set -eu
cd "$(dirname "$0")/.."
site=${1:-build-web}
wasm=${2:-build-wasm}
jobs=$(nproc 2>/dev/null || echo 2)

tools/deps.sh web
# Debian's emscripten runs on the system's Node, whose modules it finds here.
export NODE_PATH=/usr/share/nodejs
if [ ! -d web/node_modules ] || [ web/package-lock.json -nt web/node_modules ]; then
    (cd web && npm ci --no-audit --no-fund)
fi

emcmake cmake -S . -B "$wasm" -DCMAKE_BUILD_TYPE=Release -DZORVU_TESTS=OFF >/dev/null
cmake --build "$wasm" -j "$jobs" --target zorvu35 zorvu30 zorvu

mkdir -p "$site/js" "$site/lib"
for program in zorvu35 zorvu30 zorvu; do
    cp "$wasm/$program.js" "$wasm/$program.wasm" "$site/"
done
cp web/index.html web/style.css "$site/"
cp web/js/*.js "$site/js/"
modules=web/node_modules
cp "$modules/chessground/dist/chessground.min.js" "$modules"/chessground/assets/*.css "$site/lib/"
cp "$modules/chess.js/dist/esm/chess.js" "$site/lib/"
# Each library's licence goes with it.
cp "$modules/chessground/LICENSE" "$site/lib/chessground.LICENSE"
cp "$modules/chess.js/LICENSE" "$site/lib/chess.js.LICENSE"
cp COPYING "$site/"
echo "page built in $site/ (make serve serves it)"
