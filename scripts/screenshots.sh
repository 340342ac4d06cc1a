#!/usr/bin/env bash
# Screenshots of Brisa for the README, taken under Wine in an Xvfb display of their own: the main
# window, About, Options, DCC Send and the help window, each cropped to its window, and Brisa
# beside the stand-in IRC client after a Send, and names in several scripts (both at 100 % only).
# 8-bit PNGs in docs/.
#   scripts/screenshots.sh        at 100 % (96 dpi):  docs/<name>.png      (Wine state build/shots)
#   scripts/screenshots.sh 150    at 150 % (144 dpi): docs/<name>-150.png  (Wine state build/shots-150)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd -P)

case ${1:-100} in
100) dpi=96 suffix='' state=build/shots ;;
150) dpi=144 suffix=-150 state=build/shots-150 ;;
*)
    echo "usage: $0 [100|150]" >&2
    exit 2
    ;;
esac
scripts/setup.sh

build=build/win64
mkdir -p "$state" docs
log=$state/shots.log
: >"$log"
echo "Building Brisa and the stand-in IRC client (log: $log)"
driver=$state/shot_driver.exe
if ! {
    cmake --preset win64 && cmake --build --preset win64 --target Brisa BrisaStandInClient &&
        if [ ! "$driver" -nt tools/shot_driver.cpp ]; then
            x86_64-w64-mingw32-g++-posix -std=c++17 -Os -Wall -Wextra -static -s \
                -o "$driver" tools/shot_driver.cpp
        fi
} >>"$log" 2>&1; then
    tail -n 40 "$log"
    echo "screenshots: the build failed; the whole log is $log" >&2
    exit 1
fi

# Command ids as the program defines them.
id() {
    awk -v name="$1" '$1 == "#define" && $2 == name { print $3 }' \
        res/resource.h src/framework/framework_ids.h
}

export WINEPREFIX=$root/$state/wine/prefix
export WINEDEBUG=-all
client_pid=
brisa_pid=
finish() {
    local pid
    for pid in $brisa_pid $client_pid; do
        kill "$pid" 2>/dev/null && { wait "$pid" 2>/dev/null || true; }
    done
    cmake/wine-env.sh stop "$state" >/dev/null 2>&1
    return 0
}
trap finish EXIT
trap 'exit 130' INT TERM

echo "Starting Wine at $dpi dpi (prefix $state/wine/prefix)"
cmake/wine-env.sh start "$state"
# Names the settings below; the first run in a prefix applies them.
settings="dpi-$dpi+steady-caret"
if [ "$(cat "$state/wine/shot-settings" 2>/dev/null)" != "$settings" ]; then
    for key in 'HKCU\Control Panel\Desktop' \
        'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
        wine reg add "$key" /v LogPixels /t REG_DWORD /d $dpi /f >>"$log" 2>&1
    done
    # A caret that does not blink looks the same in every shot.
    wine reg add 'HKCU\Control Panel\Desktop' /v CursorBlinkRate /t REG_SZ /d -1 /f >>"$log" 2>&1
    # Wine reads these when its session starts.
    cmake/wine-env.sh stop "$state"
    cmake/wine-env.sh start "$state"
    echo "$settings" >"$state/wine/shot-settings"
fi
DISPLAY=:$(cat "$state/wine/display")
export DISPLAY

# Brisa as a user would keep it: C:\Brisa\Brisa.exe with its own Brisa.INI, sounds in C:\WAV.
drive_c=$WINEPREFIX/drive_c
rm -rf "$drive_c/Brisa"
mkdir -p "$drive_c/Brisa"
cp "$build/bin/Brisa.exe" "$drive_c/Brisa/"
printf '[Options]\r\nWAVDir=C:\\WAV\r\nClient=1011\r\n' >"$drive_c/Brisa/Brisa.INI"
scripts/demo_sounds.sh "$drive_c/WAV" >>"$log"

drive() {
    wine "$driver" "$@" 2>>"$log" | tr -d '\r'
}

# Painting follows a window's appearance: the screen counts as drawn once two looks agree.
settle() {
    local previous='' current deadline=$((SECONDS + 10))
    while [ $SECONDS -lt $deadline ]; do
        sleep 0.3
        current=$(xwd -root -silent | md5sum)
        [ "$current" = "$previous" ] && return 0
        previous=$current
    done
}

# shot <name> <WxH+X+Y>...: the windows on a desktop-coloured canvas just large enough for them,
# in 8-bit colour.
shot() {
    local name=$1 file screen=$state/screen.miff w h x y
    shift
    file=docs/$name$suffix.png
    settle
    import -window root "$screen"
    read -r left top right bottom < <(printf '%s\n' "$@" | tr 'x+' '  ' | awk '
        { l = $3; t = $4; r = $3 + $1; b = $4 + $2
          L = (NR == 1 || l < L) ? l : L; T = (NR == 1 || t < T) ? t : T
          R = (NR == 1 || r > R) ? r : R; B = (NR == 1 || b > B) ? b : B }
        END { if (L < 0) L = 0; if (T < 0) T = 0; print L, T, R, B }')
    local layers=(-size "$((right - left))x$((bottom - top))" xc:'#3a6ea5')
    for geometry in "$@"; do
        read -r w h x y <<<"$(tr 'x+' '  ' <<<"$geometry")"
        layers+=("(" "$screen" -crop "${w}x$h+$x+$y" +repage ")"
            -geometry "+$((x - left))+$((y - top))" -composite)
    done
    convert "${layers[@]}" -strip "PNG8:$file"
    rm -f "$screen"
    echo "$file"
}

# open_and_shoot <name> <command>: opens a window by its command, shoots it and closes it again.
open_and_shoot() {
    local hwnd geometry
    read -r hwnd geometry < <(drive open "$(id "$2")") || true
    [ -n "$geometry" ] || {
        echo "screenshots: $1 did not open (see $log)" >&2
        exit 1
    }
    shot "$1" "$geometry"
    drive close "$hwnd"
}

wine "$build/bin/BrisaStandInClient.exe" >>"$log" 2>&1 &
client_pid=$!
read -r _ client < <(drive rect "Stand-in IRC client (mIRC)") || true
# Started once the client shows, so Send and DCC are enabled.
wine 'C:\Brisa\Brisa.exe' >>"$log" 2>&1 &
brisa_pid=$!
read -r _ main < <(drive rect "Brisa Server - Brisa") || true
if [ -z "$client" ] || [ -z "$main" ]; then
    echo "screenshots: Brisa or the stand-in client did not start (see $log)" >&2
    exit 1
fi

shot main "$main"
open_and_shoot about ID_APP_ABOUT
open_and_shoot options IDC_OPTIONS
open_and_shoot dcc-send IDC_DCC
open_and_shoot help ID_HELP_INDEX
# The stand-in client stands at a fixed place, which Brisa's larger window covers at 150 %.
if [ $dpi = 96 ]; then
    drive post "$(id IDC_SEND)"
    shot with-client "$main" "$client"
fi
drive post "$(id ID_APP_EXIT)"
wait $brisa_pid || true
brisa_pid=

# Names in several scripts: a sound folder of them, and the stand-in client's nicknames in DCC Send.
if [ $dpi = 96 ]; then
    mkdir -p "$drive_c/Sons"
    for name in Été Łódź Звонок Καμπάνα ベル 铃声; do
        cp "$drive_c/WAV/$(ls "$drive_c/WAV" | head -n 1)" "$drive_c/Sons/$name.wav"
    done
    printf '[Options]\r\nWAVDir=C:\\Sons\r\nClient=1011\r\n' >"$drive_c/Brisa/Brisa.INI"
    wine 'C:\Brisa\Brisa.exe' >>"$log" 2>&1 &
    brisa_pid=$!
    read -r _ main < <(drive rect "Brisa Server - Brisa") || true
    read -r hwnd dialog < <(drive open "$(id IDC_DCC)") || true
    shot names "$main" "$dialog"
    drive close "$hwnd"
    drive post "$(id ID_APP_EXIT)"
    wait $brisa_pid || true
    brisa_pid=
fi
