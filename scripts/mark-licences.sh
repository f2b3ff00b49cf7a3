#!/bin/sh
# SPDX-FileCopyrightText: The LC Tune developers
# SPDX-License-Identifier: MIT

# Puts the project's copyright and licence lines at the top of every file git tracks that has a
# comment syntax and lacks them, below a shebang line or an XML declaration. Files without one
# (images, data, JSON) get theirs from .reuse/dep5; tests/package/check-licences.sh checks all.
set -eu
cd "$(dirname "$0")/.."
# Split, so that reuse does not read these lines as this file's own.
copyright_tag=SPDX-FileCopyrightText
licence_tag=SPDX-License-Identifier
git ls-files | while read -r file; do
    case $file in
        *.cpp | *.h | *.rc) open='// ' close='' ;;
        *.sh | *CMakeLists.txt | *.cmake | .gitignore | .clang-tidy | .ci/* | *.desktop \
            | packaging/lintian/*) open='# ' close='' ;;
        *.md | *.xml.in) open='<!-- ' close=' -->' ;;
        # A blank line would print one in a manual page.
        *.1.in) open='.\" ' close='' ;;
        *) continue ;;
    esac
    if grep -q "$licence_tag:" "$file"; then
        continue
    fi
    marked=$(mktemp)
    # Through the environment, as awk -v would read the backslash of the manual page's comment.
    first="$open$copyright_tag: The LC Tune developers$close" \
        second="$open$licence_tag: MIT$close" blank="$([ "$open" = '.\" ' ] || echo yes)" \
        awk '
            NR == 1 && /^(#!|<\?xml)/ { print; next }
            !done {
                print ENVIRON["first"]; print ENVIRON["second"]
                if (ENVIRON["blank"] != "") print ""
                done = 1
            }
            { print }
        ' "$file" >"$marked"
    cat "$marked" >"$file"
    rm -f "$marked"
    echo "marked $file"
done
