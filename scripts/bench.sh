#!/usr/bin/env bash
# Builds the benchmarks in Release (build-release/) and runs the ones whose medians the README's
# "Performance" table reports: of the engine's, the large constructions, loci and the undo
# history; every drawing benchmark (drag steps plain and AA at every size, the command-line
# render), and the drag through the main window beside the engine's step. Extra arguments go to
# every benchmark executable, e.g. --benchmark_filter=DragStep, --benchmark_repetitions=5 or
# --benchmark_format=json.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQORV_BUILD_TESTS=OFF >/dev/null
cmake --build build-release -j "$(nproc)" --target qorv_bench qorv_view_bench qorv_window_bench qorv-cli
echo "cores: $(nproc); cpu: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
echo "load average before the run: $(cut -d' ' -f1-3 /proc/loadavg)"
export QT_QPA_PLATFORM=offscreen
./build-release/bench/qorv_bench --benchmark_filter='Mixed|Locus|Family|UndoSessionMemory|RecordUndoStep' "$@"
./build-release/bench/qorv_view_bench "$@"
./build-release/bench/qorv_window_bench "$@"
