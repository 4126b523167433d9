#!/bin/sh
# Builds the program and its benchmarks and measures them: every handler on
# real data beside the floor it stands on, start-up beside a bare window,
# and the ratios with their targets.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup-debian.sh
sh scripts/build.sh
exec build/bench/tesselle_bench --benchmark_min_time=0.3 --benchmark_repetitions=3 \
    --benchmark_report_aggregates_only=true "$@"
