#!/usr/bin/env bash
# Builds the engine tests, the hostile-document tests (which read, recalculate, save and draw
# generated documents offscreen) and the window tests with the address and undefined-behaviour
# sanitizers, and runs them. The random-events window test runs its fixed-seed slice here; a
# longer soak sets QORV_RANDOM_SEED and QORV_RANDOM_EVENTS (see the README).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh # zstd for the undo snapshots, zlib for PNG files
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQORV_SANITIZE=ON \
  -DQORV_BUILD_WIDGET_TESTS=ON -DQORV_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j "$(nproc)" --target qorv_engine_tests qorv_hostile_tests qorv_ui_tests
cd build-asan
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 QT_QPA_PLATFORM=offscreen \
  ctest --output-on-failure -j "$(nproc)"
