#!/bin/sh
# SPDX-License-Identifier: MIT
# The exported palettes read back by other programs: the .gpl by GIMP in
# batch mode, the .ase by the npm package ase-utils. The collection holds a
# grey, an entry whose colour is unknown and a vivid colour; the expected
# codes and colours come from the card's CSV, not from the program.
#   readers.sh <program> <makedb> <source folder>
set -eu
program=$1
makedb=$2
source=$3
csv=$source/data/card5327.csv

tmp=$(mktemp -d)
gimp_pid=""
cleanup() {
    # timeout runs GIMP in a process group of its own and, sent TERM,
    # ends the whole group: GIMP and its Script-Fu plug-in.
    [ -n "$gimp_pid" ] && kill "$gimp_pid" 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 1' HUP INT TERM

# The tally: pass, fail, finish.
. "$source/tests/x11/xvfb.sh"
# Compares two files, showing the first differences.
same() {
    if cmp -s "$2" "$3"; then
        pass "$1"
    else
        fail "$1 (expected -, read +)"
        diff "$2" "$3" | head -n 20 || true
    fi
}

# "code<TAB>R G B" for each code given, from the CSV.
expect() {
    for code in "$@"; do
        awk -F, -v c="$code" 'NR > 1 && $4 == c { printf "%s\t%d %d %d\n", $4, $5, $6, $7 }' "$csv"
    done
}

# The fixture: the shipped card and a collection of three.
grey=$(awk -F, 'NR > 1 && $4 ~ /^Z/ { print $4; exit }' "$csv")
vivid=A5.60.63
db=$tmp/dbtsl.db
"$makedb" "$csv" "$db" >/dev/null
sqlite3 "$db" "insert into baby2 (ccard_name, code) values
    ('5327', '$grey'), ('5327', 'ZZ.99.99'), ('5327', '$vivid')"
expect "$grey" "$vivid" >"$tmp/collection.expected"
awk -F, 'NR > 1 { printf "%s\t%d %d %d\n", $4, $5, $6, $7 }' "$csv" >"$tmp/card.expected"
[ "$(wc -l <"$tmp/collection.expected")" -eq 2 ] || { echo "FAIL: $grey or $vivid is not in the CSV"; exit 1; }

mkdir "$tmp/out"
for what in collection.gpl collection.ase card.gpl; do
    case $what in card.*) card=--card ;; *) card="" ;; esac
    if "$program" --database "$db" --export "$tmp/out/$what" $card >"$tmp/export.log" 2>&1 \
        && [ -s "$tmp/out/$what" ]; then
        pass "export $what"
    else
        fail "export $what"
        cat "$tmp/export.log"
    fi
done

# GIMP, in batch mode with a profile of its own whose only palette folder
# holds the one file; prints each palette it loaded as "palette<TAB>name"
# and then one "name<TAB>R G B" line an entry.
gimp_read() {
    profile=$tmp/gimp
    rm -rf "$profile"
    mkdir -p "$profile/palettes" "$profile/gradients" "$profile/home"
    cp "$1" "$profile/palettes/read.gpl"
    printf '(palette-path "%s/palettes")\n' "$profile" >"$profile/gimprc"
    HOME=$profile/home XDG_CONFIG_HOME=$profile/home XDG_CACHE_HOME=$profile/home \
        XDG_DATA_HOME=$profile/home GIMP2_DIRECTORY=$profile \
        timeout 120 gimp-console -i -d -f -b '(gimp-palettes-refresh)' -b "
(let ((out (open-output-file \"$profile/read.txt\")))
  (for-each
    (lambda (palette)
      (when (not (string=? palette \"Color History\"))
        (display \"palette\t\" out) (display palette out) (newline out)
        (let loop ((i 0))
          (when (< i (car (gimp-palette-get-info palette)))
            (let ((rgb (car (gimp-palette-entry-get-color palette i))))
              (display (car (gimp-palette-entry-get-name palette i)) out)
              (display \"\t\" out) (display (car rgb) out)
              (display \" \" out) (display (cadr rgb) out)
              (display \" \" out) (display (caddr rgb) out)
              (newline out))
            (loop (+ i 1))))))
    (cadr (gimp-palettes-get-list \"\")))
  (close-output-port out))" -b '(gimp-quit 0)' </dev/null >"$profile/gimp.log" 2>&1 &
    gimp_pid=$!
    status=0
    wait "$gimp_pid" || status=$?
    gimp_pid=""
    if [ "$status" -ne 0 ] || [ ! -s "$profile/read.txt" ]; then
        echo "GIMP exited with $status and read no palette:"
        cat "$profile/gimp.log"
        return 1
    fi
    cat "$profile/read.txt"
}

if ! command -v gimp-console >/dev/null; then
    fail "gimp-console is missing (scripts/setup-debian.sh --tests installs gimp)"
else
    for what in collection card; do
        if gimp_read "$tmp/out/$what.gpl" >"$tmp/$what.gimp"; then
            if [ "$(grep -c '^palette	' "$tmp/$what.gimp")" -eq 1 ]; then
                pass "GIMP loads the $what's .gpl as a palette"
            else
                fail "GIMP loads the $what's .gpl as a palette"
                cat "$tmp/$what.gimp" "$tmp/gimp/gimp.log"
            fi
            grep -v '^palette	' "$tmp/$what.gimp" >"$tmp/$what.gimp.entries" || true
            same "the $what's codes and colours read by GIMP" "$tmp/$what.expected" "$tmp/$what.gimp.entries"
        else
            cat "$tmp/$what.gimp"
            fail "GIMP reads the $what's .gpl"
        fi
    done
fi

# ase-utils decodes the file: "name<TAB>model<TAB>channels" a colour. With
# "blocks", the blocks' lengths, which ase-utils skips, must instead lead
# from block to block to the file's end, as many blocks as the header says.
cat >"$tmp/read-ase.js" <<'EOF'
const fs = require('fs');
const ase = require('ase-utils');
const buffer = fs.readFileSync(process.argv[2]);
if (process.argv[3] !== 'blocks') {
    for (const c of ase.decode(buffer).colors)
        console.log(c.name + '\t' + c.model + '\t' + c.color.join(' '));
} else {
    let at = 12, blocks = 0;
    while (at + 6 <= buffer.length) { at += 6 + buffer.readUInt32BE(at + 2); blocks++; }
    if (at !== buffer.length || blocks !== buffer.readUInt32BE(8)) {
        console.log('the header says ' + buffer.readUInt32BE(8) + ' blocks, the lengths lead to '
                    + blocks + ' ending at byte ' + at + ' of ' + buffer.length);
        process.exit(1);
    }
}
EOF
if npm_config_cache="$tmp/npm-cache" npm_config_update_notifier=false \
    npm install --prefix "$tmp" --no-audit --no-fund --no-save ase-utils >"$tmp/npm.log" 2>&1; then
    if node "$tmp/read-ase.js" "$tmp/out/collection.ase" >"$tmp/collection.ase.read" 2>&1; then
        pass "ase-utils decodes the collection's .ase"
        # The same codes in order, RGB, each channel R/255 within 1e-4.
        if awk -F'\t' 'NR == FNR { want[NR] = $0; n = NR; next }
                {
                    m++
                    split(want[FNR], w, "\t"); split(w[2], c, " "); k = split($3, g, " ")
                    ok = FNR <= n && $1 == w[1] && $2 == "RGB" && k == 3
                    for (i = 1; ok && i <= 3; i++) {
                        d = g[i] - c[i] / 255
                        ok = d < 1e-4 && d > -1e-4
                    }
                    if (!ok) { print "read: " $0 "   expected: " want[FNR]; bad = 1 }
                }
                END { if (m != n) { print "read " m " colours, expected " n; bad = 1 }; exit bad }' \
            "$tmp/collection.expected" "$tmp/collection.ase.read"; then
            pass "the collection's codes and colours read by ase-utils"
        else
            fail "the collection's codes and colours read by ase-utils"
        fi
    else
        fail "ase-utils decodes the collection's .ase"
        cat "$tmp/collection.ase.read"
    fi
    if node "$tmp/read-ase.js" "$tmp/out/collection.ase" blocks; then
        pass "the .ase's block lengths and count"
    else
        fail "the .ase's block lengths and count"
    fi
else
    fail "npm install ase-utils"
    tail -n 20 "$tmp/npm.log"
fi

finish
