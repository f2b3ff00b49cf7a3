#!/bin/sh
# SPDX-FileCopyrightText: The LC Tune developers
# SPDX-License-Identifier: MIT

# Installs a build tree into a scratch prefix and checks what a desktop finds there: the program
# and its print helper in the configured directories, its menu entry, the icon that entry names
# at every size, the AppStream record and the manual page, with the menu entry, the record and
# the page passing their validators and the record and page naming the project's version.
# Usage: check-install.sh <cmake> <build directory> <version> <bindir> <libexecdir> <mandir>
set -eu
cmake=$1
build=$2
version=$3
bindir=$4
libexecdir=$5
mandir=$6
here=$(dirname "$0")
# shellcheck source-path=SCRIPTDIR source=checks.sh
. "$here/checks.sh"

# Inside the build tree, like everything this test writes.
prefix=$(mktemp -d "$build/check-install.XXXXXX")
trap 'rm -rf "$prefix"' EXIT
"$cmake" --install "$build" --prefix "$prefix" >/dev/null

desktop=share/applications/$app_id.desktop
metainfo=share/metainfo/$app_id.metainfo.xml
manual=$mandir/man1/lctune.1.gz
for file in "$bindir/lctune" "$desktop" "$metainfo" "$manual" share/doc/lctune/copyright; do
    [ -f "$prefix/$file" ] || fail "not installed: $file"
done
[ -x "$prefix/$bindir/lctune" ] || fail "$bindir/lctune is not executable"
# Debian's changelog and the lintian override belong to the Debian package alone.
for file in share/doc/lctune/changelog.Debian.gz share/lintian/overrides/lctune; do
    [ ! -e "$prefix/$file" ] || fail "a plain install puts in the Debian package's $file"
done

# Printing is a helper program of its own, where the program looks for it, so that the print
# system's libraries never load into the window.
helper=$prefix/$libexecdir/lctune/lctune-print
[ -x "$helper" ] || fail "not installed: $libexecdir/lctune/lctune-print"
if ldd "$helper" | grep -q "not found"; then
    fail "the print helper's libraries are not all found: $(ldd "$helper" | grep "not found")"
fi
needed=$(readelf -d "$prefix/$bindir/lctune" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
for library in libQt6PrintSupport libcups; do
    if echo "$needed" | grep -q "^$library"; then
        fail "$bindir/lctune loads $library at start"
    fi
done

icon=$(sed -n 's/^Icon=//p' "$prefix/$desktop")
for size in $icon_sizes; do
    png=$prefix/share/icons/hicolor/${size}x${size}/apps/$icon.png
    [ -f "$png" ] || fail "no ${size}x${size} icon named $icon"
    [ "$(png_size "$png")" = "${size}x${size}" ] \
        || fail "${size}x${size}/apps/$icon.png is $(png_size "$png")"
done

validate_desktop_entry "$prefix/$desktop"
validate_metainfo "$prefix/$metainfo"
# The tree as a whole: the record's launchable names a menu entry that is installed beside it.
appstreamcli validate-tree --no-net "$prefix" || fail "appstreamcli rejects the installed tree"
[ "$(release_version "$prefix/$metainfo")" = "$version" ] \
    || fail "the AppStream record's newest release is not $version"
check_manual "$prefix/$manual" "$version"
echo "install tree complete and valid"
