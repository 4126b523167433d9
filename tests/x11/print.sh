#!/bin/sh
# SPDX-License-Identifier: MIT
# Print… from the collection's menu, through the system's print dialog, to
# a real CUPS: a cupsd of the test's own (its own socket, spool and
# configuration) with one queue that writes what it is sent to a file.
# The printed file must hold every code of the collection. The queue is a
# file: device with a pass-through PPD, which needs nothing beyond cups.
#   print.sh <program> <makedb> <source folder>
set -eu
program=$1
makedb=$2
source=$3
. "$(dirname "$0")/lib.sh"

command -v cupsd >/dev/null || { echo "SKIP: no cupsd"; exit 0; }
# The filters run as CUPS's own user: they must reach the output folder.
chmod 755 "$work"
cups=$work/cups
mkdir -p "$cups/conf" "$cups/spool/tmp" "$cups/cache" "$cups/state" "$cups/log" "$cups/out"
chmod 777 "$cups/out"
cat >"$cups/conf/cups-files.conf" <<CONF
ServerRoot $cups/conf
RequestRoot $cups/spool
TempDir $cups/spool/tmp
CacheDir $cups/cache
StateDir $cups/state
AccessLog $cups/log/access_log
ErrorLog $cups/log/error_log
PageLog $cups/log/page_log
ServerBin /usr/lib/cups
DataDir /usr/share/cups
FileDevice Yes
CONF
cat >"$cups/conf/cupsd.conf" <<CONF
Listen $cups/cups.sock
WebInterface No
Browsing No
LogLevel info
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
CONF
cupsd -f -c "$cups/conf/cupsd.conf" -s "$cups/conf/cups-files.conf" >"$cups/log/cupsd.out" 2>&1 &
cupsd=$!
trap '{ kill "$cupsd" 2>/dev/null && wait "$cupsd" 2>/dev/null; } || true; cleanup' EXIT
export CUPS_SERVER="$cups/cups.sock"
if ! settled "scheduler is running" lpstat -r >/dev/null; then
    cat "$cups/log/"* 2>/dev/null || true
    # cupsd hands its filters to its own user, which takes root (as on CI).
    if [ "$(id -u)" -ne 0 ]; then echo "SKIP: cupsd needs root here"; exit 0; fi
    echo "FAIL: cupsd did not start"
    exit 1
fi
lpadmin -p sheet -E -v "file://$cups/out/printed.pdf" -P "$source/tests/x11/pdf-to-file.ppd" 2>/dev/null
lpadmin -d sheet

# A vivid red, a grey and a code the card does not have.
codes="C5.76.53 K8.04.43 ZZ.99.99"
for code in $codes; do
    sqlite3 "$work/dbtsl.db" "insert into baby2 (ccard_name, code) values ('5327', '$code')"
done
start_program

# The collection's menu: Print… is the fifth entry from the bottom (About,
# See as, Find colour…, Check for colour-blind viewers…, Print…). The
# dialog offers the default queue; Enter prints.
click 148 40
wait_for_pixel 105 350 "$(card 70 5)" >/dev/null || true
click 105 350 3
keys Up Up Up Up Up Return
sleep 1
keys Return
printed() { [ -s "$cups/out/printed.pdf" ] && pdftotext "$cups/out/printed.pdf" - 2>/dev/null | tr '\n' ' '; }
text=$(settled never printed || true)
for code in $codes; do
    case "$text" in
    *"$code"*) check "the printed sheet holds $code" yes yes ;;
    *) check "the printed sheet holds $code" no yes ;;
    esac
done
check "the printed sheet holds #ef2c5f" "$(echo "$text" | grep -c '#ef2c5f')" 1
check "CUPS completed the job" "$(grep -c 'Job completed' "$cups/log/error_log")" 1
finish
