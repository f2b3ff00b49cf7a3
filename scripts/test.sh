#!/bin/sh
# SPDX-FileCopyrightText: The LC Tune developers
# SPDX-License-Identifier: MIT

# Installs what is missing, builds LC Tune and runs every test. The main build's CTest summary
# comes last, so it closes the output.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
# The fuzzer of the number reader, briefly, where clang is present.
if command -v clang++ >/dev/null 2>&1; then
    ./scripts/run-fuzz.sh 30
fi
# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer, the session test at a
# longer run (the asan test preset sets the count), and the print helper against real and
# misbehaving CUPS servers; then the main build, its static checks, the tests that change this
# machine (they install the package and set up printers, and put back what they changed), and the
# other tests.
cmake --workflow --preset asan
ctest --preset asan-print
cmake --preset dev
cmake --build --preset dev
./scripts/static-checks.sh build/dev
ctest --preset system
ctest --preset dev
