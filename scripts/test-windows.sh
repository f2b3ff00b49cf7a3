#!/bin/sh
# SPDX-FileCopyrightText: The LC Tune developers
# SPDX-License-Identifier: MIT

# Cross-builds LC Tune for 64-bit Windows with MinGW-w64, runs its Windows tests under Wine and
# makes the ZIP, build/windows-mingw/lctune-<version>-win64.zip (the ZIP's own check is one of the
# tests). The CTest summary comes last, so it closes the output. Run as root on Debian 12.
#
# Qt for Windows comes from $LCTUNE_QT_WINDOWS (an installed prefix, or the .tar.xz that
# build-qt-windows.sh makes), else from ../shared/qt-windows/ beside the project, else it is
# built here from Debian's own source (about 20 minutes on 2 cores).
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)

./scripts/install-deps.sh cmake ninja-build g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth \
    qt6-base-dev qt6-base-dev-tools xz-utils unzip xdotool x11-utils x11-apps cups \
    printer-driver-cups-pdf poppler-utils python3

# The Qt that the windows-mingw preset builds against, at the place the preset names.
qt_dir=build/qt-windows
qt=$qt_dir/qt-6.4.2-mingw-w64
source=${LCTUNE_QT_WINDOWS:-}
if [ -z "$source" ] && [ -f ../shared/qt-windows/qt-6.4.2-mingw-w64.tar.xz ]; then
    source=$(cd ../shared/qt-windows && pwd)/qt-6.4.2-mingw-w64.tar.xz
fi
if [ -z "$source" ]; then
    source=$root/$qt_dir/source/qt-6.4.2-mingw-w64.tar.xz
    [ -f "$source" ] || ./scripts/build-qt-windows.sh "$root/$qt_dir/source"
fi
mkdir -p $qt_dir
if [ "$(cat $qt_dir/taken-from 2>/dev/null)" != "$source" ] || [ ! -e $qt/lib/cmake/Qt6 ]; then
    rm -rf $qt
    if [ -d "$source" ]; then
        ln -s "$(cd "$source" && pwd)" $qt
    else
        tar -C $qt_dir -xJf "$source"
    fi
    echo "$source" >$qt_dir/taken-from
fi

# Wine needs an X server even for programs that show nothing; this one is the run's own.
work=$(mktemp -d "${TMPDIR:-/tmp}/lctune-windows.XXXXXX")
xvfb=
export WINEPREFIX="$root/build/windows-mingw/wine"
cleanup() {
    WINEPREFIX="$root/build/windows-mingw/wine" wineserver -k 2>/dev/null || true
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
    [ -z "$xvfb" ] || wait "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM
Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp 9>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
tries=0
until [ -s "$work/display" ]; do
    tries=$((tries + 1))
    [ $tries -le 100 ] || { cat "$work/xvfb.log" >&2; exit 1; }
    sleep 0.1
done
DISPLAY=:$(cat "$work/display")
export DISPLAY

cmake --preset windows-mingw
cmake --build --preset windows-mingw
ctest --preset windows-mingw
