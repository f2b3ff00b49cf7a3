#!/bin/sh
# SPDX-FileCopyrightText: The LC Tune developers
# SPDX-License-Identifier: MIT

# What a screen reader says: runs LC Tune under Orca on a private X server, session bus and speech
# server whose one voice writes each utterance to a file, drives the window by keys, and prints
# what Orca spoke after each action, in English and in Slovak. Nothing outside a temporary
# directory is touched.
#
#   scripts/check-screen-reader.sh [build-dir] [output-file]
set -eu
build=$(cd "${1:-build/dev}" && pwd)
out=${2:-/dev/stdout}
for tool in Xvfb dbus-run-session orca speech-dispatcher xdotool xprop xwininfo; do
    command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is missing"; exit 77; }
done

if [ "${LCTUNE_READER_INNER:-}" != 1 ]; then
    work=$(mktemp -d)
    trap 'kill $(cat "$work"/pids 2>/dev/null) 2>/dev/null; [ -n "${LCTUNE_READER_KEEP:-}" ] || rm -rf "$work"' EXIT INT TERM
    mkdir -p "$work/run" "$work/config/speech-dispatcher/modules" "$work/orca" "$work/home"
    chmod 700 "$work/run"
    said="$work/said.txt"
    : >"$said"
    cat >"$work/config/speech-dispatcher/speechd.conf" <<CONF
AddModule "file" "sd_generic" "file.conf"
DefaultModule file
LanguageDefaultModule "en" "file"
LanguageDefaultModule "sk" "file"
# The voice plays nothing; ALSA's null device keeps the module content without a sound card.
AudioOutputMethod "alsa"
AudioALSADevice "null"
CONF
    # One line a message; the line breaks that a message may hold are spaces.
    cat >"$work/config/speech-dispatcher/modules/file.conf" <<CONF
GenericExecuteSynth "printf '%s\\\\n' \\'\$DATA\\' | tr '\\\\n' ' ' >>$said; echo >>$said"
AddVoice "en" "MALE1" "en"
AddVoice "sk" "MALE1" "sk"
GenericLanguage "en" "en" "utf-8"
GenericLanguage "sk" "sk" "utf-8"
CONF
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
    echo $! >>"$work/pids"
    while [ ! -s "$work/display" ]; do sleep 0.1; done
    export DISPLAY=":$(cat "$work/display")"
    if command -v openbox >/dev/null 2>&1; then
        openbox >/dev/null 2>&1 &
        echo $! >>"$work/pids"
    fi
    export LCTUNE_READER_INNER=1 HOME="$work/home" XDG_RUNTIME_DIR="$work/run" \
        XDG_CONFIG_HOME="$work/config" LCTUNE_READER_WORK="$work"
    # The accessibility registry greets on the output it inherits.
    dbus-run-session -- sh "$0" "$build" | grep -v '^SpiRegistry daemon' >"$out"
    exit 0
fi

work=$LCTUNE_READER_WORK
said="$work/said.txt"
speech-dispatcher -s -t 0 -C "$XDG_CONFIG_HOME/speech-dispatcher" >"$work/speechd.log" 2>&1 &
echo $! >>"$work/pids"
orca --replace -u "$work/orca" --debug-file "$work/orca.debug" >"$work/orca.log" 2>&1 &
orca=$!
echo $orca >>"$work/pids"
# Orca is ready once it has greeted the user.
for _ in $(seq 100); do
    [ -s "$said" ] && break
    sleep 0.2
done

# Keys that bring the focus to the place of an action, then the action's own keys, and what Orca
# said to that, less its echo of the keys pressed.
settle() { sleep "${LCTUNE_READER_SETTLE:-1.5}"; }
act() {
    [ -z "$2" ] || { xdotool key --delay 100 $2; settle; }
    : >"$said"
    xdotool key --delay 100 $3
    settle
    printf '%s\n' "$1"
    grep -Ev '^(tab|left shift|space|dash|[0-9]) *$' "$said" | sed 's/^/    /'
}

# Where the window manager put the whole window, frame included, against the centre of the screen.
framePlace() {
    X=$(xwininfo -id "$1" | sed -n 's/.*Absolute upper-left X: *//p')
    Y=$(xwininfo -id "$1" | sed -n 's/.*Absolute upper-left Y: *//p')
    WIDTH=$(xwininfo -id "$1" | sed -n 's/.*Width: *//p')
    HEIGHT=$(xwininfo -id "$1" | sed -n 's/.*Height: *//p')
    set -- $(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    [ $# -eq 4 ] || set -- 0 0 0 0
    width=$((WIDTH + $1 + $2))
    height=$((HEIGHT + $3 + $4))
    eval "$(xdotool getdisplaygeometry --shell)"
    printf 'frame %dx%d at %d,%d; centred on the %dx%d screen it is at %d,%d\n' \
        $width $height $((X - $1)) $((Y - $3)) "$WIDTH" "$HEIGHT" \
        $(((WIDTH - width) / 2)) $(((HEIGHT - height) / 2))
}

run() {
    language=$1
    QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb \
        "$build/app/lctune" >/dev/null 2>&1 &
    app=$!
    for _ in $(seq 100); do
        xdotool search --onlyvisible --pid $app >/dev/null 2>&1 && break
        sleep 0.1
    done
    settle
    window=$(xdotool search --onlyvisible --pid $app | head -n 1)
    xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
    settle
    printf '== %s\n' "$language"
    framePlace "$window"
    # The focus starts on the F of Cp. In fix mode 1 the stops run: F of Cp, Text5, Text6, unit
    # of Fx, F of Fx, Text3, Text4, unit of Cp, Text2, Text1, VScroll3 to VScroll6, Text7,
    # VScroll7, the Quick boxes of Cp and Fx, print, language.
    if [ "$language" = Slovak ]; then
        act "Space on the language button" "shift+Tab" "space"
        act "Tab onto the F of Cp" "" "Tab"
    fi
    act "Tab onto Text3" "Tab Tab Tab Tab" "Tab"
    act "Tab onto Text1" "Tab Tab Tab" "Tab"
    act "Tab onto VScroll4" "Tab" "Tab"
    act "Up on VScroll4 at start" "" "Up"
    act "Down on the focused pF: nF chosen" "shift+Tab shift+Tab shift+Tab shift+Tab" "Down"
    act "Up on the focused nF: pF chosen again" "" "Up"
    act "Tab onto Text7" "Tab Tab Tab Tab Tab Tab" "Tab"
    act "Up on VScroll3 with Cx -30: no result" \
        "minus 3 0 shift+Tab shift+Tab shift+Tab shift+Tab" "Up"
    act "Space on the F of Fx" "shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab" "space"
    kill $app
    wait $app 2>/dev/null || true
    settle
}

run English
run Slovak
kill $orca 2>/dev/null || true
