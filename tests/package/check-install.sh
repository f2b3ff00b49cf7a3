#!/bin/sh
# Installs a build tree into a scratch prefix and checks what a desktop finds there: the program,
# its menu entry, the icon that entry names at every size, and the AppStream record, with the
# menu entry and the record passing their validators.
# Usage: check-install.sh <cmake> <build directory>
set -eu
cmake=$1
build=$2
here=$(dirname "$0")
# shellcheck source-path=SCRIPTDIR source=checks.sh
. "$here/checks.sh"

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
"$cmake" --install "$build" --prefix "$prefix" >/dev/null

desktop=share/applications/$app_id.desktop
metainfo=share/metainfo/$app_id.metainfo.xml
for file in bin/lctune "$desktop" "$metainfo"; do
    [ -f "$prefix/$file" ] || fail "not installed: $file"
done
[ -x "$prefix/bin/lctune" ] || fail "bin/lctune is not executable"

# Printing comes as a module, where the program looks for it, so that the print system's
# libraries load on the first print rather than at every start.
module=$prefix/lib/lctune/lctune-print.so
[ -f "$module" ] || fail "not installed: lib/lctune/lctune-print.so"
if ldd "$module" | grep -q "not found"; then
    fail "the print module's libraries are not all found: $(ldd "$module" | grep "not found")"
fi
needed=$(readelf -d "$prefix/bin/lctune" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
for library in libQt6PrintSupport libcups; do
    if echo "$needed" | grep -q "^$library"; then
        fail "bin/lctune loads $library at start"
    fi
done

icon=$(sed -n 's/^Icon=//p' "$prefix/$desktop")
for size in $icon_sizes; do
    png=$prefix/share/icons/hicolor/${size}x${size}/apps/$icon.png
    [ -f "$png" ] || fail "no ${size}x${size} icon named $icon"
    [ "$(png_size "$png")" = "${size}x${size}" ] \
        || fail "${size}x${size}/apps/$icon.png is $(png_size "$png")"
done

desktop-file-validate "$prefix/$desktop" || fail "desktop-file-validate rejects $desktop"
appstreamcli validate --no-net "$prefix/$metainfo" || fail "appstreamcli rejects $metainfo"
# The tree as a whole: the record's launchable names a menu entry that is installed beside it.
appstreamcli validate-tree --no-net "$prefix" || fail "appstreamcli rejects the installed tree"
echo "install tree complete and valid"
