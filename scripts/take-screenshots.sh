#!/bin/sh
# SPDX-FileCopyrightText: The LC Tune developers
# SPDX-License-Identifier: MIT

# Renders the window's screenshots under docs/: every fix mode in both languages at screen
# scale 1 (window.png is the start-up one), the start-up window at scales 1, 1.5 and 2, and on a
# dark desktop (the GTK 3 platform theme with Adwaita:dark, under Xvfb); a spin bar with the
# keyboard focus on both desktops.
# Usage: scripts/take-screenshots.sh [build directory, default build/dev]
set -eu
cd "$(dirname "$0")/.."
build=${1:-build/dev}
cmake --build "$build" --target take_screenshots
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

export QT_QPA_PLATFORM=offscreen
# A fractional factor stays as it is, as on a desktop set to 150 %, instead of being rounded to
# a whole one.
export QT_SCALE_FACTOR_ROUNDING_POLICY=PassThrough
for scale in 1 1.5 2; do
    mkdir "$work/$scale"
    QT_SCALE_FACTOR=$scale "$build/tools/take_screenshots" "$work/$scale"
    cp "$work/$scale/window.png" "docs/window-scale-$scale.png"
done
cp "$work/1"/window*.png "$work/1/focus-spin.png" docs/
mkdir "$work/dark"
QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark xvfb-run -a \
    "$build/tools/take_screenshots" --dark-desktop "$work/dark"
cp "$work/dark/window-dark-desktop.png" "$work/dark/focus-spin-dark-desktop.png" docs/
ls docs/window*.png docs/focus-spin*.png
