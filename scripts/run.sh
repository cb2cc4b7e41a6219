#!/usr/bin/env bash
# Installs what is missing, builds, and opens the editor on an example document.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
doc=examples/triangle.qrv
if [ -f "$doc" ]; then exec ./build/src/qorv "$doc"; else exec ./build/src/qorv; fi
