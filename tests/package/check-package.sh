#!/bin/sh
# SPDX-FileCopyrightText: The LC Tune developers
# SPDX-License-Identifier: MIT

# Builds the Debian package from a build tree with CPack and checks it: the file name Debian
# expects, the project's version, the program, print helper, menu entry, icons, AppStream record,
# manual page, copyright file and changelog under /usr, no maintainer scripts, the dependencies
# on the Qt runtime and on the fonts that the window asks for by name, lintian and the desktop's
# validators. Then it installs the package on this machine and starts the installed program, and
# puts back what was there before: the lctune installed before, repacked from this machine's own
# files with dpkg-repack, or none.
# Usage: check-package.sh <cpack> <build directory> <version> <bindir> <libexecdir> <mandir>
# Exit code 77 (skipped) after the checks of the package file when not run by root, who alone
# may install it.
set -eu
cpack=$1
build=$2
version=$3
bindir=$4
libexecdir=$5
mandir=$6
here=$(dirname "$0")
# shellcheck source-path=SCRIPTDIR source=checks.sh
. "$here/checks.sh"

out=$(mktemp -d)
# What the end puts back: nothing, "remove" (no lctune was installed) or "$out/before/*.deb".
restore=
put_back()
{
    status=$?
    case $restore in
        "") ;;
        remove)
            DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq -o DPkg::Lock::Timeout=600 \
                lctune >/dev/null || { echo "could not remove lctune again" >&2; status=1; }
            ;;
        *)
            DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --reinstall --allow-downgrades \
                -o DPkg::Lock::Timeout=600 "$restore" >/dev/null \
                || { echo "could not put back the lctune installed before: $restore" >&2; status=1; }
            ;;
    esac
    rm -rf "$out"
    exit "$status"
}
trap put_back EXIT
"$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1 \
    || { cat "$out/cpack.log" >&2; fail "cpack could not build the package"; }

set -- "$out"/*.deb
if [ $# -ne 1 ] || [ ! -f "$1" ]; then
    fail "expected one .deb in $out, found: $*"
fi
deb=$1
package_version=$(dpkg-deb -f "$deb" Version)
arch=$(dpkg --print-architecture)
[ "$(basename "$deb")" = "lctune_${package_version}_${arch}.deb" ] \
    || fail "package named $(basename "$deb"), not lctune_${package_version}_${arch}.deb"
[ "$(dpkg-deb -f "$deb" Package)" = lctune ] || fail "package is not called lctune"
# The project's version with a Debian revision, which a changelog.Debian.gz belongs to.
case $package_version in
    "$version"-*) ;;
    *) fail "package version $package_version is not $version with a Debian revision" ;;
esac

dpkg-deb -c "$deb" | awk '{ print $NF }' >"$out/contents"
expected="./usr/$bindir/lctune
./usr/$libexecdir/lctune/lctune-print
./usr/share/applications/$app_id.desktop
./usr/share/metainfo/$app_id.metainfo.xml
./usr/$mandir/man1/lctune.1.gz
./usr/share/doc/lctune/copyright
./usr/share/doc/lctune/changelog.Debian.gz
./usr/share/lintian/overrides/lctune"
for size in $icon_sizes; do
    expected="$expected
./usr/share/icons/hicolor/${size}x${size}/apps/lctune.png"
done
echo "$expected" | while read -r file; do
    grep -qxF "$file" "$out/contents" || fail "not in the package: $file"
done

# No library comes with the program: nothing for ldconfig or any other maintainer script to do.
dpkg-deb --ctrl-tarfile "$deb" | tar -t | sed 's|^\./||; /^$/d' | sort >"$out/control-files"
[ "$(cat "$out/control-files")" = "control
md5sums" ] || fail "the package's control files are not just control and md5sums: $(cat "$out/control-files")"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# Each entry of the list, alternatives kept together, without its version constraint.
echo "$depends" | tr ',' '\n' | sed 's/([^)]*)//g; s/  */ /g; s/^ //; s/ $//' >"$out/depends"
for package in libqt6core6 libqt6gui6 libqt6widgets6 libcups2 "fonts-liberation2 | fonts-dejavu-core"; do
    grep -qxF "$package" "$out/depends" || fail "Depends lacks $package"
done

# lintian: informational tags and overridden ones are shown; an error or a warning fails.
lintian_options="--display-info --show-overrides"
[ "$(id -u)" != 0 ] || lintian_options="$lintian_options --allow-root"
# shellcheck disable=SC2086 # one word per option
lintian $lintian_options "$deb" >"$out/lintian.log" 2>&1 \
    || { cat "$out/lintian.log"; fail "lintian failed on the package"; }
echo "lintian $(basename "$deb"):"
cat "$out/lintian.log"
if grep -q '^[EW]:' "$out/lintian.log"; then
    fail "lintian reports errors or warnings"
fi

# What a desktop sees once the package is installed.
dpkg-deb -x "$deb" "$out/root"
validate_desktop_entry "$out/root/usr/share/applications/$app_id.desktop"
validate_metainfo "$out/root/usr/share/metainfo/$app_id.metainfo.xml"
appstreamcli validate-tree --no-net "$out/root" || fail "appstreamcli rejects the packaged tree"
[ "$(release_version "$out/root/usr/share/metainfo/$app_id.metainfo.xml")" = "$version" ] \
    || fail "the packaged AppStream record's newest release is not $version"
check_manual "$out/root/usr/$mandir/man1/lctune.1.gz" "$version"
echo "$(basename "$deb") complete"

if [ "$(id -u)" != 0 ]; then
    echo "skipped: installing the package needs root"
    exit 77
fi
# Installed as a user would, with apt resolving its dependencies; what was installed before goes
# back afterwards, kept first as a package of its own.
if dpkg-query -W -f='${Status}' lctune 2>/dev/null | grep -q "install ok installed"; then
    command -v dpkg-repack >/dev/null \
        || fail "dpkg-repack is needed to put back the lctune installed on this machine"
    mkdir "$out/before"
    (cd "$out/before" && dpkg-repack lctune) >"$out/repack.log" 2>&1 \
        || { cat "$out/repack.log"; fail "dpkg-repack could not keep the installed lctune"; }
    set -- "$out"/before/*.deb
    [ -f "$1" ] || fail "dpkg-repack left no package in $out/before"
    echo "kept the installed lctune $(dpkg-deb -f "$1" Version) to put it back"
    restore=$1
else
    restore=remove
fi
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --reinstall --allow-downgrades \
    -o DPkg::Lock::Timeout=600 "$(realpath "$deb")" >"$out/apt.log" 2>&1 \
    || { cat "$out/apt.log"; fail "apt-get could not install the package"; }
cmp -s "/usr/$bindir/lctune" "$out/root/usr/$bindir/lctune" \
    || fail "/usr/$bindir/lctune is not the program of this package"
[ "$(man -w lctune)" = "/usr/$mandir/man1/lctune.1.gz" ] || fail "man does not find lctune(1)"
xvfb-run -a -s "-screen 0 1280x1024x24" \
    sh "$here/start-window.sh" "/usr/$bindir/lctune" "The Resonance circuit calculation" \
    || fail "the installed program did not show its window"
echo "installed and started"
