#!/bin/sh
# SPDX-License-Identifier: MIT
# Moves the collection an older build kept in build/dbtsl.db to the user's
# data folder, where the program now keeps it, once: only when the data
# folder has no database yet, only a copy that passes SQLite's integrity
# check, and through a temporary file linked into place, so that nothing is
# ever overwritten or half-written.
#   move-collection.sh <build folder>
set -eu
build=$1
old="$build/dbtsl.db"
data="${XDG_DATA_HOME:-$HOME/.local/share}/tesselle"
new="$data/dbtsl.db"

[ -f "$old" ] || exit 0
if [ -e "$new" ]; then
    # The program would keep using the old file while it lies beside it.
    mv "$old" "$old.kept"
    echo "A collection is kept in $new already: the older $old was left as $old.kept."
    exit 0
fi
if [ "$(sqlite3 "$old" 'pragma integrity_check' 2>&1)" != "ok" ]; then
    echo "$old fails SQLite's integrity check: it was left where it is." >&2
    exit 1
fi
mkdir -p "$data"
tmp=$(mktemp "$data/.dbtsl-XXXXXX.db")
trap 'rm -f "$tmp"' EXIT
sqlite3 "$old" ".backup '$tmp'"
[ "$(sqlite3 "$tmp" 'pragma integrity_check')" = "ok" ]
ln "$tmp" "$new"
rm -f "$old" "$old-journal" "$old-wal" "$old-shm"
echo "Your collection was moved from $old to $new."
