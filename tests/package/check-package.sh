#!/bin/sh
# Builds the Debian package from a build tree with CPack and checks it: the file name Debian
# expects, the program, menu entry, icons and AppStream record under /usr, and the dependencies
# on the Qt runtime and on the fonts that the window asks for by name.
# Usage: check-package.sh <cpack> <build directory>
set -eu
cpack=$1
build=$2
here=$(dirname "$0")
# shellcheck source-path=SCRIPTDIR source=checks.sh
. "$here/checks.sh"

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1 \
    || { cat "$out/cpack.log" >&2; fail "cpack could not build the package"; }

set -- "$out"/*.deb
if [ $# -ne 1 ] || [ ! -f "$1" ]; then
    fail "expected one .deb in $out, found: $*"
fi
deb=$1
version=$(dpkg-deb -f "$deb" Version)
arch=$(dpkg --print-architecture)
[ "$(basename "$deb")" = "lctune_${version}_${arch}.deb" ] \
    || fail "package named $(basename "$deb"), not lctune_${version}_${arch}.deb"
[ "$(dpkg-deb -f "$deb" Package)" = lctune ] || fail "package is not called lctune"

dpkg-deb -c "$deb" | awk '{ print $NF }' >"$out/contents"
expected="./usr/bin/lctune
./usr/lib/lctune/lctune-print.so
./usr/share/applications/$app_id.desktop
./usr/share/metainfo/$app_id.metainfo.xml"
for size in $icon_sizes; do
    expected="$expected
./usr/share/icons/hicolor/${size}x${size}/apps/lctune.png"
done
echo "$expected" | while read -r file; do
    grep -qxF "$file" "$out/contents" || fail "not in the package: $file"
done

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# Each entry of the list, alternatives kept together, without its version constraint.
echo "$depends" | tr ',' '\n' | sed 's/([^)]*)//g; s/  */ /g; s/^ //; s/ $//' >"$out/depends"
for package in libqt6core6 libqt6gui6 libqt6widgets6 libcups2 "fonts-liberation2 | fonts-dejavu-core"; do
    grep -qxF "$package" "$out/depends" || fail "Depends lacks $package"
done

# What a desktop sees once the package is installed.
dpkg-deb -x "$deb" "$out/root"
desktop-file-validate "$out/root/usr/share/applications/$app_id.desktop" \
    || fail "desktop-file-validate rejects the packaged menu entry"
appstreamcli validate-tree --no-net "$out/root" || fail "appstreamcli rejects the packaged tree"
echo "$(basename "$deb") complete"
