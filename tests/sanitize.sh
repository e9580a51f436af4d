#!/usr/bin/env bash
# Builds the converter and every test with clang, AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs the whole suite: any bad memory access, leak or undefined behaviour fails a test.
# Usage: tests/sanitize.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-sanitize}"
CXX=clang++ cmake -S . -B "$build" -DD2L_SANITIZE=ON -DD2L_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$build" --output-on-failure
