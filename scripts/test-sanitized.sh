#!/usr/bin/env bash
# Builds the engine tests with the address and undefined-behaviour sanitizers and runs them.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQORV_SANITIZE=ON \
  -DQORV_BUILD_GUI=OFF -DQORV_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j "$(nproc)" --target qorv_engine_tests
cd build-asan
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j "$(nproc)"
