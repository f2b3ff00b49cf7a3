#!/bin/sh
# SPDX-FileCopyrightText: The LC Tune developers
# SPDX-License-Identifier: MIT

# Starts a program on the X display of the environment, waits until it shows a window with the
# given title, and ends it. Fails when the program exits first. The wait has no limit of its own:
# the test's time-out bounds it.
# Usage: start-window.sh <program> <title>
set -eu
program=$1
title=$2
here=$(dirname "$0")
# shellcheck source-path=SCRIPTDIR source=checks.sh
. "$here/checks.sh"

log=$(mktemp)
"$program" >"$log" 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; rm -f "$log"' EXIT
until xdotool search --onlyvisible --pid "$pid" --name "^$title\$" >/dev/null 2>&1; do
    if ! kill -0 "$pid" 2>/dev/null; then
        status=0
        wait "$pid" || status=$?
        cat "$log" >&2
        fail "$program exited with status $status before it showed its window"
    fi
    sleep 0.1
done
echo "$program shows its window \"$title\""
