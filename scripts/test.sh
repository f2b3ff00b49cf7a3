#!/bin/sh
# Installs what is missing, builds LC Tune and runs every test. The main build's CTest summary
# comes last, so it closes the output.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
# The fuzzer of the number reader, briefly, where clang is present.
if command -v clang++ >/dev/null 2>&1; then
    ./scripts/run-fuzz.sh 30
fi
cmake --workflow --preset dev
