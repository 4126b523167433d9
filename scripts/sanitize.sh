#!/bin/sh
# SPDX-License-Identifier: MIT
# Builds the program and every test with AddressSanitizer (and its leak
# checker) and UndefinedBehaviorSanitizer into build-asan/, and runs the
# tests there without a display. Any report fails the run: a test's own, and
# those of the program and drivers the tests start, whose output a test may
# swallow. AddressSanitizer and its leak checker write their reports to
# build-asan/sanitizer-reports/, checked after the tests (UBSan's runtime in
# g++ ignores log_path and prints to the process's stderr). A process
# stopped by either exits with 86, which no test expects, rather than the
# default 1, which the program uses for its own errors.
#
# Needs nothing beyond the program's build dependencies (g++ brings the
# sanitizer runtimes).
set -eu
cd "$(dirname "$0")/.."
started=$(date +%s)

cmake -S . -B build-asan -DTESSELLE_SANITIZE=ON -DTESSELLE_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-asan --parallel "$(nproc)"
built=$(date +%s)

reports="$(pwd)/build-asan/sanitizer-reports"
rm -rf "$reports"
mkdir -p "$reports"

# The install test checks the rules and the package of the build as it
# ships (build/); here the installed program would run as another user,
# who cannot write the sanitizer's reports; so would the program of the
# Wayland keys test, whose keys run under the sanitizers in the X11 keys
# test and the offscreen ones. The keyboard cue's screenshots and the
# simulated colours' on X measure pixels, which the sanitizers do not
# change; the cue's painting and the simulation's run under them in the
# offscreen tests, and the screenshots stay in the run as shipped.
status=0
(
    cd build-asan
    QT_QPA_PLATFORM=offscreen \
    ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:abort_on_error=0:exitcode=86:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1:log_path=$reports/asan" \
    UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:exitcode=86" \
    LSAN_OPTIONS="suppressions=$(pwd)/../scripts/lsan.supp:print_suppressions=0" \
        ctest --output-on-failure --parallel "$(nproc)" -E '^(test_install|test_keys_wayland|test_focus_cue_x11|test_vision_x11)$'
) || status=$?
finished=$(date +%s)

found=0
for report in "$reports"/*; do
    [ -s "$report" ] || continue
    found=$((found + 1))
    echo "---- $(basename "$report")"
    cat "$report"
done
# UBSan reports (and any other report a test printed on its way) in the
# output of every test, passing ones included.
if grep -nE 'runtime error:|==[0-9]+==ERROR: |Sanitizer' build-asan/Testing/Temporary/LastTest.log; then
    found=$((found + 1))
fi
echo "sanitize: build $((built - started))s, tests $((finished - built))s"
if [ "$found" -ne 0 ] || [ "$status" -ne 0 ]; then
    echo "sanitize: FAILED: $found sanitizer report(s) (kept in $reports), ctest exit $status"
    exit 1
fi
echo "sanitize: every test passed under AddressSanitizer, LeakSanitizer and UBSan, no report"
