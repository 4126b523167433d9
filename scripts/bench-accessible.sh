#!/bin/sh
# SPDX-License-Identifier: MIT
# The page move beside its floor with a screen reader's bridge active: the
# benchmark on X (Xvfb), in a D-Bus session of its own with the
# accessibility bus, and Qt's AT-SPI bridge always on. Run by bench.sh.
set -eu
cd "$(dirname "$0")/.."
if [ -z "${TESSELLE_BENCH_SESSION:-}" ]; then
    TESSELLE_BENCH_SESSION=1 exec dbus-run-session -- sh "$0" "$@"
fi
. tests/x11/xvfb.sh
xvfb=""
launcher=""
trap 'kill $launcher $xvfb 2>/dev/null || true' EXIT
# The pointer starts at the middle of the screen, here away from the windows
# (they open at its top-left corner), as for a user at the keyboard. Over a
# window, Qt asks the X server where the pointer is each time a widget of
# that window is shown (one round trip for a page move, eight for the
# floor's eight widgets), and the two figures would measure different waits.
start_xvfb 1280x1600x24 || { echo "no X server for the benchmark" >&2; exit 1; }
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
launcher=$!
echo "With a screen reader's bridge active (X, AT-SPI):"
QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 build/bench/tesselle_bench \
    --benchmark_filter='^(pageMove/shipped|floor/page_query|floor/eight_widgets)$' \
    --benchmark_min_time=0.1 --benchmark_repetitions=9 --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true "$@"
