#!/bin/sh
# SPDX-FileCopyrightText: The LC Tune developers
# SPDX-License-Identifier: MIT

# Installs what is missing, builds LC Tune and opens its window.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake --preset dev
cmake --build --preset dev --target lctune
exec ./build/dev/app/lctune
