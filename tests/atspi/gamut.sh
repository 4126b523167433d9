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

if [ -z "${TESSELLE_ATSPI_SESSION:-}" ]; then
    TESSELLE_ATSPI_SESSION=1 exec dbus-run-session -- sh "$0" "$@"
fi

. "$source/tests/x11/lib.sh"

/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/bus.log" 2>&1 &
launcher=$!
/usr/bin/python3 "$source/tests/x11/icc.py" small "$work/small.icc"
/usr/bin/python3 "$source/tests/x11/icc.py" hold "$work/small.icc" >"$work/hold.log" &
holder=$!
trap 'kill "$launcher" "$holder" 2>/dev/null || true; cleanup' EXIT
settled held cat "$work/hold.log" >/dev/null
for _ in $(seq 50); do
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
        >/dev/null 2>&1 && break
    sleep 0.1
done

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_program
PYTHONPATH="$source/tests/atspi" /usr/bin/python3 "$source/tests/atspi/gamut.py" \
    "$source/data/card5327.csv" "$work/small.icc"
