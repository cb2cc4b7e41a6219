#!/usr/bin/env bash
# Builds the engine as WebAssembly into build-web/ (build-web/web holds the module and the page
# template that `qorv-cli export-html` fills in). Needs emscripten (scripts/install-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v emcmake >/dev/null; then
  echo "build-web: emscripten (emcmake) is not installed; run scripts/install-deps.sh" >&2
  exit 1
fi
# Emscripten's optimiser runs on node and needs Debian's acorn, which a node from elsewhere does
# not look for.
export NODE_PATH="${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs"
emcmake cmake -S src/web -B build-web -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-web -j "$(nproc)"
