#!/bin/sh
# SPDX-License-Identifier: MIT
# scripts/move-collection.sh as run.sh uses it: an older build's collection
# moves to the data folder once, whole; a second one is kept aside, never
# over the first; a damaged one stays where it is.
#   move-collection.sh <source folder>
set -eu
source=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home"
unset XDG_DATA_HOME
mkdir -p "$HOME" "$work/build"
data="$HOME/.local/share/tesselle/dbtsl.db"
passed=0
failed=0
check() {
    if eval "$2"; then passed=$((passed + 1)); else echo "FAIL: $1"; failed=$((failed + 1)); fi
}
# check_equal <what> <found> <expected>: says what was found instead.
check_equal() {
    if [ "$2" = "$3" ]; then
        passed=$((passed + 1))
    else
        echo "FAIL: $1: expected \"$3\", found \"$2\""
        failed=$((failed + 1))
    fi
}
collection() {
    sqlite3 "$1" "create table if not exists baby2 (sn integer primary key, ccard_name text, code text); insert into baby2 (ccard_name, code) values ('5327', '$2');"
}

collection "$work/build/dbtsl.db" K8.04.43
said=$(sh "$source/scripts/move-collection.sh" "$work/build")
check_equal "it says where the collection went" "$said" "Your collection was moved from $work/build/dbtsl.db to $data."
check_equal "the collection is in the data folder" "$(sqlite3 "$data" "select code from baby2" 2>&1)" K8.04.43
check "no copy stays in the build" '[ ! -e "$work/build/dbtsl.db" ]'
check "no temporary file stays" '[ "$(ls -A "$(dirname "$data")")" = dbtsl.db ]'

collection "$work/build/dbtsl.db" A5.60.63
sh "$source/scripts/move-collection.sh" "$work/build" >/dev/null
check_equal "a second collection never replaces the first" "$(sqlite3 "$data" "select code from baby2" 2>&1)" K8.04.43
check_equal "the second is kept aside" "$(sqlite3 "$work/build/dbtsl.db.kept" "select code from baby2" 2>&1)" A5.60.63

rm -rf "$HOME/.local" "$work/build"/*
printf 'SQLite format 3\000 and then nothing a database holds' > "$work/build/dbtsl.db"
if sh "$source/scripts/move-collection.sh" "$work/build" 2>/dev/null; then moved=yes; else moved=no; fi
check "a damaged collection is refused" '[ "$moved" = no ] && [ -f "$work/build/dbtsl.db" ] && [ ! -e "$data" ]'

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
