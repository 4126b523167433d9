#!/bin/sh
# SPDX-License-Identifier: MIT
# The program as a user gets it: installed into a prefix and packaged as a
# .deb, each checked by the validators of its kind, then run from there by
# an unprivileged user with a fresh home, under Xvfb, where it must keep its
# collection in the user's data folder and write nothing where it is
# installed, nor in the build tree.
#   install.sh <build folder> <source folder>
# Needs: cmake, cpack, desktop-file-validate, appstreamcli, dpkg-deb,
# lintian, Xvfb, xdotool, sqlite3 (and setpriv when run as root).
set -u
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)

app_id=org.tesselle.Tesselle
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
icon_sizes="16 32 48 128 256"
# The program's data: installed name, source file.
data_files="swf/addtb.svg:swf/addtb.svg swf/borit.svg:swf/borit.svg swf/del.svg:swf/del.svg
swf/kor.svg:swf/kor.svg swf/n.svg:swf/n.svg swf/p.svg:swf/p.svg
fonts.conf:data/fonts.conf card5327.csv:data/card5327.csv"

# What this script makes must be readable by the program's user; only the
# package is built with a strict umask (below), which it must not show.
umask 022
tmp=$(mktemp -d)
prefix=$tmp/prefix
root=$tmp/root
app=""
xvfb=""
cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    chmod -R u+w "$tmp" 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

# The tally (pass, fail, finish) and the X server.
. "$source/tests/x11/xvfb.sh"
# check <what> <command...>: the command's success is the check's.
check() {
    what=$1
    shift
    if "$@"; then pass "$what"; else fail "$what"; fi
}
# check_equal <what> <got> <expected>
check_equal() {
    if [ "$2" = "$3" ]; then pass "$1"; else fail "$1: expected '$3', got '$2'"; fi
}

# The program runs as a user who owns nothing of the installation: uid 65534
# when this script is root, otherwise this user with the installed trees
# made read-only.
if [ "$(id -u)" -eq 0 ]; then
    chmod 0755 "$tmp"
    give() { chown -R 65534:65534 "$@"; }
    as_root=yes
else
    give() { :; }
    as_root=""
fi
# A fresh home and runtime folder for the user; prints the home.
fresh_home() {
    mkdir -p "$tmp/$1/home" "$tmp/$1/run"
    chmod 0700 "$tmp/$1/run"
    give "$tmp/$1"
    echo "$tmp/$1/home"
}
# user_exec <command...>: replaces this shell with the command run by the
# user, with $home as its home. Its environment is empty but for what is
# named, so no XDG_DATA_HOME or other setting of the caller's leaks in.
# Started in the background, the command itself has the pid in $!.
user_exec() {
    set -- PATH=/usr/bin:/bin LANG=C.UTF-8 HOME="$home" XDG_RUNTIME_DIR="${home%/home}/run" "$@"
    if [ -n "$as_root" ]; then
        exec setpriv --reuid=65534 --regid=65534 --clear-groups env -i "$@"
    fi
    exec env -i "$@"
}
# as_user <command...>: the same, waited for.
as_user() { (user_exec "$@"); }
# Every path below a folder, but for one left out, with its size, mode and
# modification time.
listing() { find "$1" -path "${2:-}" -prune -o -printf '%p %s %m %T@\n' | sort; }

# --- a) Installed into a prefix ----------------------------------------------

if cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1; then
    pass "cmake --install into a fresh prefix"
else
    fail "cmake --install into a fresh prefix"
    cat "$tmp/install.log"
fi

for f in $data_files; do
    check "share/tesselle/${f%%:*} is ${f#*:}" cmp -s "$prefix/share/tesselle/${f%%:*}" "$source/${f#*:}"
done

desktop=$prefix/share/applications/$app_id.desktop
if desktop-file-validate "$desktop" >"$tmp/desktop.log" 2>&1; then
    pass "desktop-file-validate: no error"
else
    fail "desktop-file-validate"
fi
cat "$tmp/desktop.log"

# appstreamcli exits with 3 for warnings too; only errors fail here.
metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
appstreamcli validate --no-net "$metainfo" >"$tmp/appstream.log" 2>&1
status=$?
cat "$tmp/appstream.log"
if [ -f "$metainfo" ] && { [ "$status" -eq 0 ] || [ "$status" -eq 3 ]; } &&
    ! grep -q '^ *E:' "$tmp/appstream.log"; then
    pass "appstreamcli validate --no-net: no error"
else
    fail "appstreamcli validate --no-net (status $status)"
fi

# Each PNG icon in the folder of its size, and as large as that folder says.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $3 * 256 + $4, $7 * 256 + $8 }'; }
for s in $icon_sizes; do
    icon=$prefix/share/icons/hicolor/${s}x$s/apps/$app_id.png
    if [ -f "$icon" ]; then
        check_equal "icon ${s}x$s" "$(png_size "$icon")" "${s}x$s"
    else
        fail "icon ${s}x$s: missing"
    fi
done
check "scalable icon" test -s "$prefix/share/icons/hicolor/scalable/apps/$app_id.svg"

# The print module where the installed program looks for it, beside bin/,
# and loadable with its entry point.
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || gcc -print-multiarch)
print_module_loads() {
    /usr/bin/python3 -c 'import ctypes, sys; ctypes.CDLL(sys.argv[1]).tesselle_print_sheet' \
        "$1/bin/../lib/$multiarch/tesselle/tesselle-print.so"
}
check "the print module in lib/$multiarch/tesselle/ loads" print_module_loads "$prefix"

# --- b) The Debian package ---------------------------------------------------

# Built with umask 077: the package's modes must not depend on the builder's.
deb=""
if (umask 077 && cd "$build" && cpack -G DEB -B "$tmp/deb") >"$tmp/cpack.log" 2>&1; then
    chmod -R a+rX "$tmp/deb"
    deb=$(ls "$tmp"/deb/*.deb)
    pass "cpack -G DEB"
else
    fail "cpack -G DEB"
    cat "$tmp/cpack.log"
fi

if [ -n "$deb" ]; then
    mkdir "$root"
    dpkg-deb -x "$deb" "$root"
    check "deb: the print module in usr/lib/$multiarch/tesselle/ loads" print_module_loads "$root/usr"
    depends=$(dpkg-deb -f "$deb" Depends)
    echo "Depends: $depends"
    for p in fonts-liberation fonts-dejavu-core libgs-common libqt6svg6 libqt6printsupport6 libsqlite3-0; do
        case ", $depends," in
            *", $p "* | *", $p,"*) ;;
            *) fail "the package depends on $p" ;;
        esac
    done

    # Owned by root; directories and the program 0755, everything else 0644.
    bad=$(dpkg-deb -c "$deb" | awk '
        $2 != "root/root" { print; next }
        /^d/ { if ($1 != "drwxr-xr-x") print; next }
        $6 ~ /^\.\/usr\/bin\// { if ($1 != "-rwxr-xr-x") print; next }
        $1 != "-rw-r--r--" { print }')
    check_equal "file owners and permissions in the package" "$bad" ""

    # Lintian warns against running as root, so it runs as the user too.
    home=$(fresh_home lintian)
    as_user lintian --fail-on error "$deb" >"$tmp/lintian.log" 2>&1
    status=$?
    cat "$tmp/lintian.log"
    if [ "$status" -eq 0 ] && ! grep -q '^E:' "$tmp/lintian.log"; then
        pass "lintian: no error"
    else
        fail "lintian (status $status)"
    fi
fi

# --- c) The installed program, run by a user ---------------------------------

# Without access control: the program's user is not the server's.
start_xvfb 400x800x24 -ac || fail "an X server for the installed program"

# The program's window, once it is shown; empty if it never is.
window_id() { xdotool search --onlyvisible --name '^Tesselle 5327$' 2>/dev/null | head -n 1; }
wait_window() {
    for _ in $(seq 150); do
        w=$(window_id)
        [ -n "$w" ] && { echo "$w"; return; }
        kill -0 "$app" 2>/dev/null || return
        sleep 0.1
    done
}
click() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; sleep 0.2; }
# Ends the program. Without a window manager nothing asks a Qt window to
# close (xdotool's windowclose destroys the window and leaves the program
# running), so it gets SIGTERM: whatever it keeps must already be on disk.
quit() {
    kill "$app" 2>/dev/null
    wait "$app" 2>/dev/null
    app=""
    # Its window lingers until the server has seen the program go, and must
    # not be taken for the next one's.
    for _ in $(seq 50); do [ -z "$(window_id)" ] && break; sleep 0.1; done
}
# The number of colours in the user's collection; nothing when there is no
# collection to count.
rows() {
    n=$(as_user sqlite3 "$db" 'SELECT count(*) FROM baby2;' 2>/dev/null)
    case $n in '' | *[!0-9]*) ;; *) echo "$n" ;; esac
}
# Starts the program for the user on the display; sets app, window and the
# window's X and Y. Fails, with the program's output, if no window appears.
start() {
    user_exec DISPLAY="$DISPLAY" QT_QPA_PLATFORM=xcb "$program" >>"$log" 2>&1 &
    app=$!
    window=$(wait_window)
    if [ -z "$window" ]; then
        cat "$log"
        quit
        return 1
    fi
    eval "$(xdotool getwindowgeometry --shell "$window")"
    sleep 0.5
}

# A colour added to the collection at the first start is there at the next.
use_collection() {
    start || { fail "$label: the window appears"; return; }
    pass "$label: the window appears"
    before=$(rows)
    if [ -z "$before" ]; then
        fail "$label: a database with a collection in ~/.local/share/tesselle"
        quit
        return
    fi
    pass "$label: a database with a collection in ~/.local/share/tesselle"
    click 5 5
    sleep 0.5
    click 105 218
    click 105 640
    for _ in $(seq 50); do [ "$(rows)" != "$before" ] && break; sleep 0.1; done
    added=$(rows)
    quit
    check_equal "$label: Add to collection adds one row to baby2" "$added" "$((before + 1))"

    start || { fail "$label: the window appears at the second start"; return; }
    check_equal "$label: the collection is kept across a restart" "$(rows)" "$added"
    quit
}

# run_installed <label> <installed tree> <its bin folder>
run_installed() {
    label=$1
    tree=$2
    program=$3/tesselle
    home=$(fresh_home "run-$label")
    db=$home/.local/share/tesselle/dbtsl.db
    log=$tmp/$label.log
    [ "$(id -u)" -eq 0 ] || chmod -R a-w "$tree"
    listing "$tree" >"$tmp/$label.before"

    # Without a display.
    out=$(as_user "$program" --version 2>&1)
    status=$?
    if [ "$status" -eq 0 ] && echo "$out" | grep -qF "$version"; then
        pass "$label: --version prints $version without a display"
    else
        fail "$label: --version (status $status): $out"
    fi
    out=$(as_user "$program" --help 2>&1)
    status=$?
    if [ "$status" -eq 0 ] && [ -n "$out" ]; then
        pass "$label: --help"
    else
        fail "$label: --help (status $status): $out"
    fi

    use_collection

    listing "$tree" >"$tmp/$label.after"
    if cmp -s "$tmp/$label.before" "$tmp/$label.after"; then
        pass "$label: nothing written where the program is installed"
    else
        fail "$label: the installed tree changed"
        diff "$tmp/$label.before" "$tmp/$label.after"
    fi
}

# The build tree as it stands now (ctest's own records aside): the program
# must not reach back into it.
listing "$build" "$build/Testing" >"$tmp/build.before"

run_installed prefix "$prefix" "$prefix/bin"
[ -n "$deb" ] && run_installed deb "$root" "$root/usr/bin"

listing "$build" "$build/Testing" >"$tmp/build.after"
if cmp -s "$tmp/build.before" "$tmp/build.after"; then
    pass "nothing written in the build tree"
else
    fail "the build tree changed"
    diff "$tmp/build.before" "$tmp/build.after"
fi

finish
