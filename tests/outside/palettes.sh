#!/bin/sh
# SPDX-License-Identifier: MIT
# The palettes designers have, imported: those that Debian's GIMP,
# Inkscape, Krita, LibreOffice and Scribus ship (the packages fetched with
# apt-get download and unpacked with dpkg-deb, not installed), ase-utils'
# test.ase (CMYK and grey), .aco and .kpl files written by a Python writer
# of those formats, and the files under tests/palettes that other tools
# (npm's adobe-aco, Krita, GIMP's CSS export, npm's open-props and
# @radix-ui/colors) wrote. Each goes into a fresh collection; the
# report's added and skipped make up the colours of the file as an
# independent reader (count_palette.py) counts them, every code is
# collected once and the file's integrity holds.
#   palettes.sh <program> <makedb> <source folder> <cache folder>
set -eu
program=$1
makedb=$2
source=$3
cache=$4
counter=$source/tests/outside/count_palette.py

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
trap 'exit 1' HUP INT TERM

passed=0
failed=0
pass() { passed=$((passed + 1)); }
fail() { echo "FAIL: $1"; failed=$((failed + 1)); }

# The packages, fetched once into the cache folder.
mkdir -p "$cache"
packages="gimp-data inkscape krita-data libreoffice-common scribus-data"
if [ ! -f "$cache/unpacked" ]; then
    (cd "$cache" && apt-get download $packages >"$tmp/apt.log" 2>&1) || {
        echo "FAIL: apt-get download $packages"
        tail -n 20 "$tmp/apt.log"
        exit 1
    }
    for deb in "$cache"/*.deb; do
        dpkg-deb -x "$deb" "$cache/root"
    done
    touch "$cache/unpacked"
fi
root=$cache/root

"$makedb" "$source/data/card5327.csv" "$tmp/blank.db" >/dev/null

# Imports one file into a fresh collection and checks the report against
# the independent count. $2: the exit status wanted ("0 3": either).
import_one() {
    file=$1
    name=${file#"$root"/}
    cp "$tmp/blank.db" "$tmp/t.db"
    status=0
    "$program" --database "$tmp/t.db" --import "$file" >"$tmp/out" 2>"$tmp/err" || status=$?
    case " $2 " in
        *" $status "*) ;;
        *) fail "$name: exit status $status"; cat "$tmp/out" "$tmp/err"; return ;;
    esac
    colours=$(awk -F'\t' -v f="$file" '$2 == f { print $1 }' "$tmp/counts")
    [ -n "$colours" ] || colours=$(/usr/bin/python3 "$counter" "$file" | sed -n 1p)
    added=$(sed -n 's/.*: \([0-9]*\) added, \([0-9]*\) skipped\.$/\1/p' "$tmp/out" | head -n 1)
    skipped=$(sed -n 's/.*: \([0-9]*\) added, \([0-9]*\) skipped\.$/\2/p' "$tmp/out" | head -n 1)
    if [ -z "$added" ] || [ $((added + skipped)) -ne "$colours" ]; then
        fail "$name: report ${added:-?} added + ${skipped:-?} skipped, the file holds $colours colours"
        cat "$tmp/out"
        return
    fi
    # Status 3 exactly when the report names colours not read.
    if grep -q ' not read:$' "$tmp/out"; then unread=3; else unread=0; fi
    [ "$unread" -eq "$status" ] || { fail "$name: exit status $status, report says otherwise"; cat "$tmp/out"; return; }
    rows=$(sqlite3 "$tmp/t.db" "select count(*) || ' ' || count(distinct code) from baby2")
    [ "$rows" = "$added $added" ] || { fail "$name: $added added, the collection holds (rows, codes) $rows"; return; }
    [ "$(sqlite3 "$tmp/t.db" "pragma integrity_check")" = ok ] || { fail "$name: integrity"; return; }
    pass
}

# How many files of a kind, as the packages ship them.
expect_files() {
    found=$(find "$root" -path "$1" -name "$2" | wc -l)
    if [ "$found" -eq "$3" ]; then pass; else fail "$3 $2 files under $1 wanted, $found found"; fi
}
expect_files '*/share/palette/*' '*.soc' 8
expect_files '*/scribus/swatches/*' '*.xml' 34
expect_files '*/scribus/swatches/*' '*.sbz' 1

find "$root" \( -name '*.gpl' -o -name '*.soc' -o -name '*.sbz' -o -name '*.kpl' -o -name '*.aco' -o -name '*.ase' \
    -o -path '*/scribus/swatches/*.xml' \) -type f | sort >"$tmp/files"
[ -s "$tmp/files" ] || { echo "FAIL: no palettes unpacked"; exit 1; }
/usr/bin/python3 "$counter" --list "$tmp/files" >"$tmp/counts"
while read -r file; do
    import_one "$file" "0 3"
done <"$tmp/files"
echo "$(wc -l <"$tmp/files") palettes of the packages imported"

# ase-utils' own test file: 96 CMYK and 20 grey swatches, every one read.
if npm_config_cache="$tmp/npm-cache" npm_config_update_notifier=false \
    npm install --prefix "$tmp" --no-audit --no-fund --no-save ase-utils >"$tmp/npm.log" 2>&1; then
    ase=$tmp/node_modules/ase-utils/test.ase
    models=$(/usr/bin/python3 "$counter" "$ase" | tail -n +2 | tr '\t\n' ': ')
    [ "$models" = "CMYK:96 Gray:20 RGB:6 " ] || fail "test.ase holds $models"
    import_one "$ase" 0
    grep -q 'Read 96 from CMYK, converted through /usr/share/color/icc/ghostscript/default_cmyk.icc, relative colorimetric' "$tmp/out" \
        || fail "test.ase: the report does not say 96 were read from CMYK through the profile"
else
    fail "npm install ase-utils"
    tail -n 20 "$tmp/npm.log"
fi

# Photoshop and Krita files as their formats describe them, one colour of
# each in a model the program does not read (a colour book, XYZ).
/usr/bin/python3 "$counter" --write-aco "$tmp/sample.aco"
/usr/bin/python3 "$counter" --write-kpl "$tmp/sample.kpl"
import_one "$tmp/sample.aco" 3
grep -q 'colour 6 “book”: colour space 3' "$tmp/out" || fail "sample.aco: the book colour is not named"
import_one "$tmp/sample.kpl" 3
grep -q 'entry 5 “xyz”' "$tmp/out" || fail "sample.kpl: the XYZ colour is not named"

# Files other tools wrote (tests/palettes/README.md says which): every colour
# read, CMYK and Lab named in the report, the card code taken as it is.
for file in "$source"/tests/palettes/*.aco; do
    import_one "$file" 0
    grep -q '^  1 taken by code$' "$tmp/out" || fail "$file: the card code is not taken by code"
    grep -q 'Read 1 from CMYK, .*; 1 from Lab (D50)\.$' "$tmp/out" || fail "$file: CMYK and Lab not in the report"
done

# Krita's own .kpl (make-kpl.sh): two RGB (one in a linear profile), CMYK,
# Lab and grey in a group, every one read.
for file in "$source"/tests/palettes/*.kpl; do
    models=$(/usr/bin/python3 "$counter" "$file" | tail -n +2 | tr '\t\n' ': ')
    [ "$models" = "CMYK:1 Gray:1 Lab:1 RGB:2 " ] || fail "$file holds $models"
    import_one "$file" 0
    grep -q '^  1 taken by code$' "$tmp/out" || fail "$file: the card code is not taken by code"
    grep -q 'Read 1 from CMYK, .*; 1 from Lab (D50)\.$' "$tmp/out" || fail "$file: CMYK and Lab not in the report"
done

# Ordinary stylesheets as LibreOffice ships them (its form wizard's styles:
# colours in rules, shorthands and comments), then GIMP's CSS export, a
# minified npm package's and one with Display P3 colours: every colour read,
# counted independently through tinycss2.
styles="$root/usr/lib/libreoffice/share/config/wizard/form/styles"
expect_files '*/wizard/form/styles/*' '*.css' 10
for file in "$styles"/*.css; do
    import_one "$file" 0
done
for file in "$source"/tests/palettes/*.css; do
    import_one "$file" 0
done
grep -q 'Read 3 outside sRGB, matched by their Lab and shown clipped\.$' "$tmp/out" \
    || fail "radix-colors-3.0.0-blue.css: the colours outside sRGB are not in the report"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
