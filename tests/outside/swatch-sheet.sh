#!/bin/sh
# SPDX-License-Identifier: MIT
# The swatch sheet that --export FILE.pdf writes, read back by poppler
# (pdfinfo, pdftotext, pdftoppm), MuPDF (mutool draw), Ghostscript and qpdf:
# the collection on A4 under en_GB.UTF-8 and on Letter under en_US.UTF-8,
# and the whole card, a card page to a sheet page, its 1,632 patches each
# rendered exactly by all three and its L*a*b* as the CSV export writes it. The locales are made for the test with localedef,
# in a folder of its own (LOCPATH).
#   swatch-sheet.sh <program> <makedb> <source folder>
set -eu
program=$1
makedb=$2
source=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
run() { "$@" || failures=$((failures + 1)); }

"$makedb" "$source/data/card5327.csv" "$work/dbtsl.db" >/dev/null
# A vivid red, a grey, a code the card does not have, and a deep blue.
codes="C5.76.53 K8.04.43 ZZ.99.99 $(awk -F, 'NR > 1 && $2 == 140 && $3 == 8 { print $4 }' "$source/data/card5327.csv")"
for code in $codes; do
    sqlite3 "$work/dbtsl.db" "insert into baby2 (ccard_name, code) values ('5327', '$code')"
done

mkdir "$work/locale"
for locale in en_GB en_US; do
    localedef -i $locale -f UTF-8 "$work/locale/$locale.UTF-8" 2>/dev/null || true
done
export LOCPATH="$work/locale"
check_sheet() { /usr/bin/python3 "$source/tests/outside/check_sheet.py" "$@"; }

echo "The collection, en_GB.UTF-8"
LC_ALL=en_GB.UTF-8 "$program" --database "$work/dbtsl.db" --export "$work/gb.pdf" >/dev/null
run check_sheet "$work/gb.pdf" "$source/data/card5327.csv" A4 $codes

echo "The collection, LC_PAPER=en_US.UTF-8"
LANG=en_GB.UTF-8 LC_PAPER=en_US.UTF-8 "$program" --database "$work/dbtsl.db" --export "$work/us.pdf" >/dev/null
run check_sheet "$work/us.pdf" "$source/data/card5327.csv" Letter $codes

echo "The whole card"
LC_ALL=en_GB.UTF-8 "$program" --database "$work/dbtsl.db" --card --export "$work/card.pdf" >/dev/null
"$program" --database "$work/dbtsl.db" --card --export "$work/card.csv" >/dev/null
run check_sheet "$work/card.pdf" "$source/data/card5327.csv" A4 card "$work/card.csv"

echo "A collection of three sheet pages"
more=$(awk -F, 'NR > 1 && $2 >= 71 && $2 <= 77 { print $4 }' "$source/data/card5327.csv")
for code in $more; do
    sqlite3 "$work/dbtsl.db" "insert into baby2 (ccard_name, code) values ('5327', '$code')"
done
LC_ALL=en_GB.UTF-8 "$program" --database "$work/dbtsl.db" --export "$work/long.pdf" >/dev/null
run check_sheet "$work/long.pdf" "$source/data/card5327.csv" A4 $codes $more

echo "The collection as a deuteranope sees it"
LC_ALL=en_GB.UTF-8 "$program" --database "$work/dbtsl.db" --export "$work/seen.pdf" --see-as deuteranopia >/dev/null
run check_sheet --see-as deuteranopia "$work/seen.pdf" "$source/data/card5327.csv" A4 $codes $more

echo "A folder that cannot be written"
if "$program" --database "$work/dbtsl.db" --export "$work/none/sheet.pdf" >/dev/null 2>"$work/err"; then
    echo "FAIL: an unwritable sheet reported as written"; failures=$((failures + 1))
elif grep -q 'could not be written' "$work/err" && [ ! -e "$work/none/sheet.pdf" ]; then
    echo "PASS: an unwritable sheet is refused with a reason"
else
    echo "FAIL: no reason given: $(cat "$work/err")"; failures=$((failures + 1))
fi

echo "$failures failed"
[ "$failures" -eq 0 ]
