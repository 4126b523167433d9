#!/bin/sh
# SPDX-License-Identifier: MIT
# Makes krita-5.1.5-print-swatches.kpl with Krita itself: Krita runs on
# an Xvfb server of its own (it insists on X11) in a home of its own with make-kpl.py as a Python plugin,
# which builds the palette through the Palette docker and saves it; the
# newest version Krita wrote is copied here. Needs Debian's krita, xvfb and
# xdotool.
#   sh tests/palettes/make-kpl.sh [OUT]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/krita-$(dpkg-query -W -f '${Version}' krita | sed 's/^[0-9]*://; s/[+-].*//')-print-swatches.kpl}
home=$(mktemp -d)
xvfb=""
pid=""
cleanup() {
    [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
    rm -rf "$home"
}
trap cleanup EXIT
trap 'exit 1' HUP INT TERM
mkdir -p "$home/runtime" "$home/config" "$home/data/krita/pykrita/makekpl"
chmod 700 "$home/runtime"
cp "$here/make-kpl.py" "$home/data/krita/pykrita/makekpl/__init__.py"
cat >"$home/data/krita/pykrita/makekpl.desktop" <<'EOF'
[Desktop Entry]
Type=Service
ServiceTypes=Krita/PythonPlugin
X-KDE-Library=makekpl
X-Python-2-Compatible=false
Name=makekpl
EOF
printf '[python]\nenable_makekpl=true\n' >"$home/config/kritarc"

. "$here/../x11/xvfb.sh"
start_xvfb 1280x1024x24 || { echo "make-kpl.sh: Xvfb did not start" >&2; exit 1; }

export KPL_LOG="$home/log"
HOME=$home XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config XDG_CACHE_HOME=$home/cache \
    XDG_RUNTIME_DIR=$home/runtime krita --nosplash >"$home/krita.log" 2>&1 &
pid=$!
for _ in $(seq 180); do
    grep -q -e DONE -e Error "$KPL_LOG" 2>/dev/null && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 1
done
sleep 2
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
pid=""
cat "$KPL_LOG" 2>/dev/null || true
grep -q DONE "$KPL_LOG" 2>/dev/null || { echo "make-kpl.sh: Krita did not finish the palette" >&2; tail -n 20 "$home/krita.log" >&2; exit 1; }
# Krita keeps each saved version beside the first: Print_swatches.0001.kpl ...
newest=$(ls "$home/data/krita/palettes/"Print_swatches.[0-9]*.kpl | sort | tail -n 1)
cp "$newest" "$out"
echo "$newest -> $out"
