#!/bin/sh
# Installs what is missing, builds LC Tune and runs every test.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake --workflow --preset dev
