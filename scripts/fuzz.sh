#!/bin/sh
# Builds the movie reader's fuzz target with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs it for a fixed number of inputs from
# the real movies and a few hostile ones. Needs clang and libclang-rt-14-dev,
# which `sh scripts/setup-debian.sh --tests` installs. Fails on any crash,
# leak or hang.
set -eu
cd "$(dirname "$0")/.."
runs="${FUZZ_RUNS:-20000}"
cmake -S fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz --parallel "$(nproc)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus"
cp swf/*.svg fuzz/corpus/* "$work/corpus"/
status=0
LSAN_OPTIONS="suppressions=$(pwd)/fuzz/lsan.supp" \
    build-fuzz/movie_reader_fuzzer -runs="$runs" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
    -seed=5327 -print_final_stats=1 -artifact_prefix="$work/" "$work/corpus" > "$work/log" 2>&1 || status=$?
tail -n 8 "$work/log"
if [ "$status" -ne 0 ]; then
    echo "fuzz: FAILED (exit $status); the input that failed:"
    ls "$work"/crash-* "$work"/leak-* "$work"/timeout-* 2>/dev/null || true
    for f in "$work"/crash-* "$work"/leak-* "$work"/timeout-*; do [ -f "$f" ] && base64 "$f" | head -c 2000; done
    exit 1
fi
echo "fuzz: $runs inputs read, no crash, leak or hang"
