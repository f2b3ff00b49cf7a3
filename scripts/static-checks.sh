#!/bin/sh
# SPDX-FileCopyrightText: The LC Tune developers
# SPDX-License-Identifier: MIT

# clang-tidy (.clang-tidy) and cppcheck on the project's own sources: model/, window/,
# print_helper/, app/ and tools/. Either finding anything fails the run. clang-tidy reads the
# compile commands of a configured build, build/dev unless a directory is given.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/dev}
cd "$root"

# clang-tidy 16: 14 cannot parse GCC 12's <ranges>.
tidy=clang-tidy-16
if [ ! -f "$build/compile_commands.json" ]; then
    echo "static-checks: no $build/compile_commands.json; configure that build first" >&2
    exit 2
fi
sources=$(find model window print_helper app tools -name '*.cpp' | sort)

echo "== clang-tidy"
"run-$tidy" -clang-tidy-binary "$tidy" -p "$build" -j 2 -quiet \
    "^$root/(model|window|print_helper|app|tools)/.*\.cpp\$" >"$build/clang-tidy.log" 2>&1 || {
    grep -E "(warning|error):" "$build/clang-tidy.log" | sort -u >&2
    echo "static-checks: clang-tidy found the above (whole output in $build/clang-tidy.log)" >&2
    exit 1
}

echo "== cppcheck"
# shellcheck disable=SC2086 # one word per source file
cppcheck --enable=warning,performance,portability --error-exitcode=1 --inline-suppr \
    --std=c++20 --library=qt --quiet -I . $sources
echo "static checks clean"
