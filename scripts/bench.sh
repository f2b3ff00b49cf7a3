#!/bin/sh
# SPDX-FileCopyrightText: The LC Tune developers
# SPDX-License-Identifier: MIT

# Builds LC Tune optimised and prints its benchmark figures: start-up time and peak memory of the
# window against a bare Qt window of the same size with one label, taking turns under Xvfb (until
# the window is mapped, and until its pixels first show drawn content), then every benchmark
# program of bench/. Figures only: nothing here passes or fails on a time. LCTUNE_BENCH_BUILD
# picks another build directory, LCTUNE_BENCH_RUNS another number of start-ups per program (20).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LCTUNE_BENCH_BUILD:-$root/build/release}
runs=${LCTUNE_BENCH_RUNS:-20}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DLCTUNE_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j2

echo "== start-up and memory: lctune against bench/bare_window, $runs runs each, under Xvfb"
# One X server for every run, 24-bit like a desktop; no window manager, so the map is the
# program's own.
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$build/bench/measure_startup" "$runs" "$build/app/lctune" "$build/bench/bare_window"

for program in "$build"/bench/bench_*; do
    [ -f "$program" ] && [ -x "$program" ] || continue
    echo "== $(basename "$program")"
    QT_QPA_PLATFORM=offscreen "$program"
done
