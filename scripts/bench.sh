#!/bin/sh
# SPDX-License-Identifier: MIT
# Builds the program and its benchmarks and measures them: every handler on
# real data beside the floor it stands on, start-up beside a bare window,
# and the ratios with their targets.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup-debian.sh --tests
sh scripts/build.sh
# Repetitions of different benchmarks are run in a random order, so that a
# change in the machine's pace touches a figure and its floor alike.
status=0
build/bench/tesselle_bench --benchmark_min_time=0.1 --benchmark_repetitions=9 \
    --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true "$@" || status=1
# The page move again as a screen reader has the program.
sh scripts/bench-accessible.sh || status=1
# Start-up and the page move on X without and with a display profile.
sh scripts/bench-profile.sh || status=1
# The nearest card colour beside a scan of every colour, in the same run.
build/bench/tesselle_bench_colour --benchmark_min_time=0.2 || status=1
exit $status
