#!/bin/sh
# SPDX-License-Identifier: MIT
# Writes lut-black.icc: a display profile of tables alone (A2B0, B2A0), as
# Argyll's colprof -al makes one from a display's measurements, for a
# display whose black is L* 8 rather than zero. The measurements are
# Argyll's own sRGB profile read by fakeread, its black raised to L* 8.
# Needs the argyll package; takes about 15 s.
#   make-lut-black.sh [<folder>]
set -eu
out=$(readlink -f "${1:-$(dirname "$0")}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
targen -d3 -e2 -B2 -g9 -f64 chart >/dev/null
fakeread -A 8,0,0 /usr/share/color/argyll/ref/sRGB.icm chart
colprof -ql -al -D "LUT display, black at L* 8" -C "Made by tests/x11/profiles/make-lut-black.sh" chart
cp chart.icc "$out/lut-black.icc"
