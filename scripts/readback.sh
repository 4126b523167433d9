#!/bin/sh
# SPDX-License-Identifier: MIT
# Our exported palettes read back by the programs they are written for, as
# Debian ships them: Krita (kritarunner, its Python API) reads the .gpl, the
# .ase and the Scribus .xml; LibreOffice (headless, through UNO) the .soc;
# Scribus (scribus -g -py) its .xml. A collection of 20 codes and the whole
# card are exported with tesselle --export; every name and R G B value each
# program reads must be the card's own, from data/card5327.csv.
#
# Opt-in, not part of the test suite: it installs Krita, LibreOffice and
# Scribus (about 1 GB) with apt-get, and takes a few minutes.
#   sh scripts/readback.sh [BUILD_DIR]      (BUILD_DIR: build if not given)
# Exit status: 0 every reading exact (faults of the other programs that the
# script knows are listed as KNOWN and do not fail it), 1 some reading
# differs or a program failed, 2 the programs could not be installed or the
# build is missing.
set -eu
source=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$source/build}
program=$build/tesselle
makedb=$build/tools/makedb
csv=$source/data/card5327.csv
[ -x "$program" ] && [ -x "$makedb" ] || {
    echo "readback.sh: $program or $makedb is missing: build the targets tesselle and makedb first" >&2
    exit 2
}

packages="krita python3-pyqt5 python3-uno libreoffice-core libreoffice-draw scribus"
missing=""
for p in $packages; do
    dpkg-query -W -f '${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing="$missing $p"
done
if [ -n "$missing" ]; then
    echo "Installing$missing"
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing >/dev/null || {
        echo "readback.sh: apt-get install$missing failed (run as root)" >&2
        exit 2
    }
fi

tmp=$(mktemp -d)
soffice_pid=""
cleanup() {
    [ -n "$soffice_pid" ] && kill "$soffice_pid" 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 1' HUP INT TERM

passed=0
failed=0
known=0
results=""
record() { results="$results$1	$2	$3
"; }
pass() { echo "PASS: $1 $2"; passed=$((passed + 1)); record "$1" "$2" pass; }
fail() { echo "FAIL: $1 $2: $3"; failed=$((failed + 1)); record "$1" "$2" "FAIL: $3"; }
known() { echo "KNOWN: $1 $2: $3"; known=$((known + 1)); record "$1" "$2" "KNOWN: $3"; }

echo "Date: $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "Machine: $(uname -srm), $(. /etc/os-release && echo "$PRETTY_NAME"), $(nproc) cores"
echo "Program: $("$program" --version 2>&1 | head -n 1)"
for p in $packages; do
    echo "Package: $p $(dpkg-query -W -f '${Version}' "$p")"
done

# The collection: 20 codes spread over the card, a grey among them.
db=$tmp/dbtsl.db
"$makedb" "$csv" "$db" >/dev/null
codes=$(awk -F, 'NR > 1 && (NR - 2) % 81 == 0 { print $4 }' "$csv" | head -n 20)
for code in $codes; do
    sqlite3 "$db" "insert into baby2 (ccard_name, code) values ('5327', '$code')"
done
for code in $codes; do
    awk -F, -v c="$code" 'NR > 1 && $4 == c { printf "%s\t%d %d %d\n", $4, $5, $6, $7 }' "$csv"
done >"$tmp/collection.expected"
awk -F, 'NR > 1 { printf "%s\t%d %d %d\n", $4, $5, $6, $7 }' "$csv" >"$tmp/card.expected"
[ "$(wc -l <"$tmp/collection.expected")" -eq 20 ] || { echo "readback.sh: 20 codes wanted" >&2; exit 2; }

mkdir "$tmp/out"
for what in collection card; do
    case $what in card) card=--card ;; *) card="" ;; esac
    for suffix in gpl ase xml soc; do
        "$program" --database "$db" --export "$tmp/out/$what.$suffix" $card >"$tmp/export.log" 2>&1 || {
            fail "tesselle" "$what.$suffix" "export failed"
            cat "$tmp/export.log"
        }
    done
done

# Compares what a program read ("name<TAB>R G B" a line) with the card's
# values. $4 "sorted": the program lists the colours in an order of its own.
compare() {
    reader=$1 file=$2 read=$3
    expected=$tmp/${file%.*}.expected
    if [ "${4:-}" = sorted ]; then
        sort "$expected" >"$tmp/want"
        sort "$read" >"$tmp/got"
    else
        cp "$expected" "$tmp/want"
        cp "$read" "$tmp/got"
    fi
    if cmp -s "$tmp/want" "$tmp/got"; then
        pass "$reader" "$file"
        return
    fi
    # Krita reads a Scribus file's red as blue and its blue as red, files
    # that Scribus itself wrote too: its fault, listed, not hidden.
    if [ "$reader" = Krita ] && [ "${file##*.}" = xml ] \
        && awk -F'\t' '{ split($2, c, " "); print $1 "\t" c[3] " " c[2] " " c[1] }' "$tmp/got" | cmp -s "$tmp/want" -; then
        known "$reader" "$file" "every name exact, red and blue swapped in all $(wc -l <"$tmp/got") colours (Krita's reader)"
        return
    fi
    missing=$(comm -23 "$tmp/want" "$tmp/got" 2>/dev/null | wc -l)
    fail "$reader" "$file" "$(wc -l <"$tmp/got") read, $(wc -l <"$tmp/want") expected, $missing expected lines not read exactly"
    diff "$tmp/want" "$tmp/got" | head -n 10 || true
}

# Krita: kritarunner runs a module of our own with its Python API. A
# resource folder of its own per file: Krita names a palette by its title,
# and every export has the same one. The first run lays out Krita's bundled
# resources; each file's folder starts from a copy of that.
mkdir -p "$tmp/krita/py"
cat >"$tmp/krita/py/readpalette.py" <<'EOF'
from krita import Krita, Palette

def __main__(args):
    out = open(args[0], 'w')
    for resource in Krita.instance().resources('palette').values():
        if not resource.filename().startswith('readback.'):
            continue
        palette = Palette(resource)
        for i in range(palette.colorsCountTotal()):
            swatch = palette.colorSetEntryByIndex(i)
            colour = swatch.color()
            if colour.colorModel() != 'RGBA' or colour.colorDepth() != 'U8':
                out.write('%s\t%s %s\n' % (swatch.name(), colour.colorModel(), colour.colorDepth()))
                continue
            r, g, b = (round(v * 255) for v in colour.componentsOrdered()[:3])
            out.write('%s\t%d %d %d\n' % (swatch.name(), r, g, b))
    out.close()
EOF
krita_run() {
    home=$1
    shift
    HOME=$home XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config XDG_CACHE_HOME=$home/cache \
        XDG_RUNTIME_DIR=$home/runtime PYTHONPATH=$tmp/krita/py QT_QPA_PLATFORM=offscreen \
        timeout 300 kritarunner -s readpalette -f __main__ "$@"
}
mkdir -p "$tmp/krita/template/runtime"
chmod 700 "$tmp/krita/template/runtime"
if krita_run "$tmp/krita/template" "$tmp/krita/none.txt" >"$tmp/krita/template.log" 2>&1; then
    for what in collection card; do
        for suffix in gpl ase xml; do
            home=$tmp/krita/$what.$suffix
            cp -r "$tmp/krita/template" "$home"
            cp "$tmp/out/$what.$suffix" "$home/data/kritarunner/palettes/readback.$suffix"
            if krita_run "$home" "$tmp/krita/$what.$suffix.read" >"$home/log" 2>&1 && [ -s "$tmp/krita/$what.$suffix.read" ]; then
                compare Krita "$what.$suffix" "$tmp/krita/$what.$suffix.read"
            else
                fail Krita "$what.$suffix" "no palette read"
                tail -n 20 "$home/log"
            fi
            rm -rf "$home"
        done
    done
else
    for what in collection card; do
        for suffix in gpl ase xml; do fail Krita "$what.$suffix" "kritarunner did not start"; done
    done
    tail -n 20 "$tmp/krita/template.log"
fi

# LibreOffice: a profile of its own whose user colour table
# (user/config/standard.soc, searched before the installation's) is the
# file; the colour table service lists it through UNO.
cat >"$tmp/readsoc.py" <<'EOF'
import sys, time, uno

def main(pipe, out):
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext('com.sun.star.bridge.UnoUrlResolver', local)
    for _ in range(240):
        try:
            ctx = resolver.resolve('uno:pipe,name=%s;urp;StarOffice.ComponentContext' % pipe)
            break
        except Exception:
            time.sleep(0.5)
    else:
        sys.exit('no connection to soffice')
    table = ctx.ServiceManager.createInstanceWithContext('com.sun.star.drawing.ColorTable', ctx)
    with open(out, 'w') as f:
        for name in table.getElementNames():
            value = table.getByName(name)
            f.write('%s\t%d %d %d\n' % (name, (value >> 16) & 255, (value >> 8) & 255, value & 255))
    try:
        ctx.ServiceManager.createInstanceWithContext('com.sun.star.frame.Desktop', ctx).terminate()
    except Exception:
        pass  # the connection closes as soffice ends

main(sys.argv[1], sys.argv[2])
EOF
for what in collection card; do
    profile=$tmp/lo.$what
    mkdir -p "$profile/user/config"
    cp "$tmp/out/$what.soc" "$profile/user/config/standard.soc"
    pipe=tesselle_readback_$$_$what
    HOME=$profile timeout 300 soffice --headless --invisible --norestore --nologo --nodefault \
        "-env:UserInstallation=file://$profile" "--accept=pipe,name=$pipe;urp;" >"$profile/log" 2>&1 &
    soffice_pid=$!
    if timeout 200 /usr/bin/python3 "$tmp/readsoc.py" "$pipe" "$tmp/$what.soc.read" >>"$profile/log" 2>&1 \
        && [ -s "$tmp/$what.soc.read" ]; then
        compare LibreOffice "$what.soc" "$tmp/$what.soc.read"
    else
        fail LibreOffice "$what.soc" "no colour table read"
        tail -n 20 "$profile/log"
    fi
    wait "$soffice_pid" 2>/dev/null || true
    soffice_pid=""
done

# Scribus: a new document takes its colours from the default colour set,
# which Scribus reads from swatches/Scribus_Basic.xml; the file is mounted
# there in a mount namespace of Scribus's own, nothing else sees it.
# Black, White and Registration are added to every document.
cat >"$tmp/readscribus.py" <<'EOF'
import sys, scribus
scribus.newDocument(scribus.PAPER_A4, (10, 10, 10, 10), scribus.PORTRAIT, 1, scribus.UNIT_POINTS,
                    scribus.PAGE_1, 0, 1)
with open(sys.argv[1], 'w') as f:
    for name in scribus.getColorNames():
        if name in ('Black', 'White', 'Registration'):
            continue
        r, g, b = scribus.getColorAsRGB(name)
        f.write('%s\t%d %d %d\n' % (name, r, g, b))
EOF
basic=/usr/share/scribus/swatches/Scribus_Basic.xml
for what in collection card; do
    home=$tmp/scribus.$what
    mkdir -p "$home/runtime"
    chmod 700 "$home/runtime"
    if HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home/runtime \
        QT_QPA_PLATFORM=offscreen timeout 300 unshare -m sh -c \
        'mount --bind "$1" "$2" && exec scribus -g -ns -py "$3" "$4"' sh \
        "$tmp/out/$what.xml" "$basic" "$tmp/readscribus.py" "$tmp/$what.xml.scribus" >"$home/log" 2>&1 \
        && [ -s "$tmp/$what.xml.scribus" ]; then
        compare Scribus "$what.xml" "$tmp/$what.xml.scribus" sorted
    else
        fail Scribus "$what.xml" "no colours read"
        tail -n 20 "$home/log"
    fi
done

echo
echo "Reader	File	Result"
printf '%s' "$results"
echo "$passed passed, $known known faults of the readers, $failed failed"
[ "$failed" -eq 0 ]
