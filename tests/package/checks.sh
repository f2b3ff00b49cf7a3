# shellcheck shell=sh disable=SC2034
# What the package checks share. Sourced, not run.

app_id=org.lctune.LCTune
# The sizes that make_icons draws, as window::appIconSizes lists them.
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
