#!/bin/sh
# SPDX-License-Identifier: MIT
# Builds the movie reader's fuzz target (fuzz/) with clang's libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer into build-fuzz/, and runs
# it for a fixed number of inputs grown from the real movies (swf/) and a few
# hostile ones (fuzz/corpus/). Any crash, sanitizer report, leak, hang or
# file the drawing tries to open fails the run.
#
# Needs the Debian packages clang and libclang-rt-14-dev (libFuzzer and the
# sanitizer runtimes), besides the program's own build dependencies:
# `sh scripts/setup-debian.sh --tests` installs them.
#
# FUZZ_RUNS sets the number of inputs (120000 by default: about a minute and
# a half with the build, on two cores). The inputs that fail are kept in FUZZ_FINDINGS
# (/tmp/fuzz-findings by default); replay one with
#   build-fuzz/movie_reader_fuzzer FILE
set -eu
cd "$(dirname "$0")/.."
runs="${FUZZ_RUNS:-120000}"
findings="${FUZZ_FINDINGS:-/tmp/fuzz-findings}"
started=$(date +%s)

cmake -S fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build-fuzz --parallel "$(nproc)"

# The fuzzer adds the inputs it finds to its corpus folder: give it a copy,
# so that the one in the repository stays as it is.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus" "$work/findings"
cp swf/*.svg fuzz/corpus/* "$work/corpus"/

status=0
LSAN_OPTIONS="suppressions=$(pwd)/fuzz/lsan.supp:print_suppressions=0" \
UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    build-fuzz/movie_reader_fuzzer -runs="$runs" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
        -seed=5327 -dict=fuzz/movie.dict -print_final_stats=1 -artifact_prefix="$work/findings/" \
        "$work/corpus" > "$work/log" 2>&1 || status=$?
elapsed=$(( $(date +%s) - started ))

if [ "$status" -ne 0 ] || [ -n "$(ls -A "$work/findings")" ]; then
    # The report: from the first sanitizer or fuzzer error to the end.
    awk '/^==[0-9]+==|^==movie_reader_fuzzer==|runtime error:|^ERROR: libFuzzer/ { shown = 1 } shown' \
        "$work/log" | grep -v '^libpng' | head -n 120
    mkdir -p "$findings"
    cp "$work"/findings/* "$findings"/ 2>/dev/null || true
    cp "$work/log" "$findings/fuzz.log"
    echo "fuzz: FAILED (exit $status) after ${elapsed}s; inputs and log kept in $findings:"
    ls "$work/findings"
    exit 1
fi
grep '^stat::' "$work/log"
echo "fuzz: $runs inputs read and drawn in ${elapsed}s: no crash, leak, hang or file opened"
