# SPDX-FileCopyrightText: The LC Tune developers
# SPDX-License-Identifier: MIT

# shellcheck shell=sh disable=SC2034
# What the package checks share. Sourced, not run.

app_id=org.lctune.LCTune
# The sizes of the icon files under window/icons/hicolor.
icon_sizes="16 32 48 64 128 256"

fail()
{
    echo "FAIL: $*" >&2
    exit 1
}

# A PNG's width x height, read from its header chunk.
png_size()
{
    od -An -tu1 -j16 -N8 "$1" \
        | awk '{ printf "%dx%d", (($1 * 256 + $2) * 256 + $3) * 256 + $4,
                                (($5 * 256 + $6) * 256 + $7) * 256 + $8 }'
}

# desktop-file-validate fails only on errors; a warning or hint fails here too.
validate_desktop_entry()
{
    messages=$(desktop-file-validate "$1" 2>&1) \
        || { echo "$messages"; fail "desktop-file-validate rejects $1"; }
    [ -z "$messages" ] || { echo "$messages"; fail "desktop-file-validate warns about $1"; }
    echo "desktop-file-validate $(basename "$1"): no messages"
}

# appstreamcli, pedantic: an error or a warning fails; its pedantic notes are shown.
validate_metainfo()
{
    messages=$(appstreamcli validate --pedantic --no-net "$1" 2>&1) \
        || { echo "$messages"; fail "appstreamcli rejects $1"; }
    echo "appstreamcli validate --pedantic $(basename "$1"):"
    echo "$messages"
    if echo "$messages" | grep -q '^[EW]:'; then
        fail "appstreamcli warns about $1"
    fi
}

# The version of the AppStream record's newest release.
release_version()
{
    sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$1" | head -n 1
}

# check_manual <lctune.1.gz> <version>: man formats the page without a warning, and its header
# names the version.
check_manual()
{
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$1" 2>&1 >/dev/null)
    [ -z "$warnings" ] || { echo "$warnings"; fail "man warns about $1"; }
    header=$(zcat "$1" | grep '^\.TH ')
    case $header in
        *"\"LC Tune $2\""*) ;;
        *) fail "the manual page's header is not of version $2: $header" ;;
    esac
}
