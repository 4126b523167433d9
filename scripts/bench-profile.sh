#!/bin/sh
# SPDX-License-Identifier: MIT
# Start-up and the page move on X (Xvfb), first with no display profile and
# then with one on the root window (colord-data's WideGamutRGB, held there
# as a desktop's colour daemon holds it): each beside its floor, with the
# same targets. Run by bench.sh.
set -eu
cd "$(dirname "$0")/.."
. tests/x11/xvfb.sh
xvfb=""
holder=""
trap 'kill $holder $xvfb 2>/dev/null || true' EXIT
# The pointer away from the windows, as in bench-accessible.sh. The server
# is not reset when its last client goes, so that both passes start their
# programs on a server in the same state (the second one has the profile's
# holder connected throughout).
start_xvfb 1280x1600x24 -noreset || { echo "no X server for the benchmark" >&2; exit 1; }
run() {
    QT_QPA_PLATFORM=xcb TESSELLE_BENCH_PLATFORM=xcb TESSELLE_BENCH_PROCESSES=1 build/bench/tesselle_bench \
        --benchmark_filter='^(pageMove/shipped|floor/page_query|floor/eight_widgets)$' \
        --benchmark_min_time=0.1 --benchmark_repetitions=9 --benchmark_enable_random_interleaving=true \
        --benchmark_report_aggregates_only=true "$@"
}
status=0
echo "On X, no display profile:"
run "$@" || status=1
/usr/bin/python3 tests/x11/icc.py hold /usr/share/color/icc/colord/WideGamutRGB.icc >/dev/null &
holder=$!
sleep 1
echo "On X, with a display profile (WideGamutRGB):"
run "$@" || status=1
exit $status
