#!/bin/sh
# SPDX-License-Identifier: MIT
# Installs the Debian packages the program needs to build, run and be
# tested, and only those that are missing. Run as root (or with sudo).
set -eu

packages="cmake g++ make pkg-config qt6-base-dev qt6-svg-dev libqt6svg6 libqt6sql6-sqlite libsqlite3-dev libfontconfig-dev \
fonts-liberation fonts-dejavu-core libbenchmark-dev liblcms2-dev libxcb1-dev zlib1g-dev libgs-common sqlite3 help2man"
[ "${1:-}" = "--tests" ] && packages="$packages clang libclang-rt-14-dev xvfb xauth xdotool xclip imagemagick python3-skimage python3-tinycss2 python3-colorspacious lintian desktop-file-utils appstream dpkg-dev file gimp nodejs at-spi2-core python3-pyatspi dbus dpkg apt orca openbox colord-data python3-pil python3-xlib poppler-utils qpdf mupdf-tools ghostscript cups printer-driver-cups-pdf locales x11-xserver-utils sway wtype grim wl-clipboard qt6-wayland"
# Argyll's xicclu reads a display profile's tables back for the colour tests.
[ "${1:-}" = "--tests" ] && packages="$packages argyll"

missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -n "$missing" ]; then
    echo "Installing:$missing"
    if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=""; fi
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
fi

# The tests read exported palettes with an npm package. Where Node.js came
# without npm (Debian's own nodejs), Debian's npm brings it.
if [ "${1:-}" = "--tests" ] && ! command -v npm >/dev/null 2>&1; then
    if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=""; fi
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends npm
fi
