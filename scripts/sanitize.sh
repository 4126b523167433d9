#!/bin/sh
# Builds the program and every test with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-asan/ and runs the tests there; any
# report fails the run.
set -eu
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -DTESSELLE_SANITIZE=ON -DTESSELLE_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-asan --parallel "$(nproc)"
cd build-asan
QT_QPA_PLATFORM=offscreen \
ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:abort_on_error=0 \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest --output-on-failure --parallel "$(nproc)"
