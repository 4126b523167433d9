#!/bin/sh
# SPDX-License-Identifier: MIT
# Swatch descriptions on a small-gamut screen, read through AT-SPI: the
# profile, made with Little CMS, set on the Xvfb root window before the
# program starts and held there as a desktop's colour daemon holds it.
#   gamut.sh <program> <makedb> <source folder>
set -eu
program=$1
makedb=$2
source=$3

. "$source/tests/atspi/session.sh"
start_atspi_bus
/usr/bin/python3 "$source/tests/x11/icc.py" small "$work/small.icc"
/usr/bin/python3 "$source/tests/x11/icc.py" hold "$work/small.icc" >"$work/hold.log" &
holder=$!
trap 'kill "$launcher" "$holder" 2>/dev/null || true; cleanup' EXIT
settled held cat "$work/hold.log" >/dev/null

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_program
PYTHONPATH="$source/tests/atspi" /usr/bin/python3 "$source/tests/atspi/gamut.py" \
    "$source/data/card5327.csv" "$work/small.icc"
