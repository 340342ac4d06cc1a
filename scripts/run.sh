#!/usr/bin/env bash
# Runs Brisa beside a stand-in IRC client under Wine: installs what is missing, builds both,
# makes a demo sound folder when there is none and starts Brisa, then the stand-in, whose sounds
# folder is the demo folder. On the user's display they stay until Brisa is closed (the stand-in
# may be closed and started again meanwhile: Send and DCC follow it); without a display they run
# in Xvfb and a screenshot is saved instead.
# The stand-in is laid out as today's mIRC and answers its interface for other programs;
#   scripts/run.sh --old-layout
# lays it out as the 32-bit client of the late 1990s, which Brisa reaches through its windows.
set -euo pipefail
layout=current
case ${1:-} in
'') ;;
--old-layout) layout=old ;;
*)
    echo "usage: $0 [--old-layout]" >&2
    exit 2
    ;;
esac
cd "$(dirname "$0")/.."
root=$(pwd -P)
scripts/setup.sh

build=build/win64
run=build/run
sounds=demo/sounds
mkdir -p "$run"

echo "Building Brisa and the stand-in IRC client (log: $run/build.log)"
if ! { cmake --preset win64 && cmake --build --preset win64 --target Brisa BrisaStandInClient; } \
    >"$run/build.log" 2>&1; then
    tail -n 40 "$run/build.log"
    echo "run: the build failed; the whole log is $run/build.log" >&2
    exit 1
fi

scripts/demo_sounds.sh "$sounds"

cp "$build/bin/Brisa.exe" "$run/Brisa.exe"
# The user's settings survive a rerun; a first run points Brisa at the demo sounds. Wine shows
# the Linux root as drive Z:.
wav_dir="Z:${root//\//\\}\\${sounds//\//\\}"
if [ ! -e "$run/Brisa.INI" ]; then
    printf '[Options]\r\nWAVDir=%s\r\nClient=1011\r\n' "$wav_dir" >"$run/Brisa.INI"
fi

state=$build/wine
started_env=no
if ! [ -s "$state/xvfb.pid" ] || ! kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null; then
    started_env=yes
fi
echo "Starting Wine (prefix $state/prefix)"
cmake/wine-env.sh start "$build"
export WINEPREFIX=$root/$state/prefix
export WINEDEBUG=-all
if [ -n "${DISPLAY:-}" ] && xwininfo -root >/dev/null 2>&1; then
    headless=no
else
    headless=yes
    DISPLAY=:$(cat "$state/display")
    export DISPLAY
fi

client_pid=
brisa_pid=
finish() {
    local pid
    for pid in $brisa_pid $client_pid; do
        kill "$pid" 2>/dev/null && { wait "$pid" 2>/dev/null || true; }
    done
    if [ $started_env = yes ]; then
        cmake/wine-env.sh stop "$build" >/dev/null 2>&1
    fi
    return 0
}
trap finish EXIT
trap 'exit 130' INT TERM

# The line of xwininfo's tree for a top-level window with exactly this title.
window_line() {
    xwininfo -root -tree 2>/dev/null | grep -F "\"$1\":" | head -n 1
}

# Waits until the window is shown; fails when its program ended or after 30 s.
wait_for_window() {
    local title=$1 pid=$2 deadline=$((SECONDS + 30))
    while [ -z "$(window_line "$title")" ]; do
        if ! kill -0 "$pid" 2>/dev/null || [ $SECONDS -ge $deadline ]; then
            echo "run: the window \"$title\" did not appear (see $run/wine.log)" >&2
            return 1
        fi
        sleep 0.1
    done
}

: >"$run/wine.log"
wine "$run/Brisa.exe" >>"$run/wine.log" 2>&1 &
brisa_pid=$!
wait_for_window "Brisa Server - Brisa" $brisa_pid
# Both layouts with the class mIRC, so that the settings (Client=1011) serve either. Brisa enables
# Send and DCC within a second of the client's window showing.
wine "$build/bin/BrisaStandInClient.exe" /layout $layout /class mIRC /sounds "$wav_dir" \
    >>"$run/wine.log" 2>&1 &
client_pid=$!
wait_for_window "Stand-in IRC client (mIRC)" $client_pid
sleep 1.5

if [ $headless = no ]; then
    echo "Brisa and the stand-in IRC client are running; closing Brisa ends both."
    wait $brisa_pid || true
    brisa_pid=
    exit 0
fi

# Painting follows the windows' appearance: the screen counts as drawn once two looks agree.
previous=
deadline=$((SECONDS + 10))
while [ $SECONDS -lt $deadline ]; do
    current=$(xwd -root -silent | md5sum)
    [ "$current" = "$previous" ] && break
    previous=$current
    sleep 0.2
done

# Crop to both windows and a margin: "WxH+X+Y" of each, from the tree's absolute positions.
read -r left top right bottom < <(
    for title in "Brisa Server - Brisa" "Stand-in IRC client (mIRC)"; do
        window_line "$title" | grep -oE '[0-9]+x[0-9]+\+-?[0-9]+\+-?[0-9]+' | head -n 1
    done | tr 'x+' '  ' | awk -v m=8 '
        { l = $3; t = $4; r = $3 + $1; b = $4 + $2
          L = (NR == 1 || l < L) ? l : L; T = (NR == 1 || t < T) ? t : T
          R = (NR == 1 || r > R) ? r : R; B = (NR == 1 || b > B) ? b : B }
        END { L -= m; T -= m; if (L < 0) L = 0; if (T < 0) T = 0; print L, T, R + m, B + m }')
import -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$run/brisa.png"
echo "Screenshot of Brisa beside the stand-in IRC client: $run/brisa.png"
