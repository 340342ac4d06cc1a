#!/usr/bin/env bash
# Screenshots of Brisa for the README, taken under Wine in an Xvfb display of their own, with the
# stand-in IRC client running: the main window on a folder with subfolders and files of three
# types, a sound with a hotkey chosen and the volume turned down; the Hotkeys dialog, About,
# Options, DCC Send and the help window, each cropped to its window; the main window made wider,
# narrowed by a search and with the list's context menu open. At 100 % only also Brisa beside the
# client after a Send, Brisa once the client has gone, and names in several scripts. 8-bit PNGs in
# docs/.
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

# Brisa as a user would keep it: C:\Brisa\Brisa.exe with its own Brisa.INI, sounds in C:\WAV: the
# demo sounds, a silent MP3 and two subfolders. Hotkeys for three sounds and for one that has
# gone from the folder.
drive_c=$WINEPREFIX/drive_c
rm -rf "$drive_c/Brisa" "$drive_c/WAV"
mkdir -p "$drive_c/Brisa"
cp "$build/bin/Brisa.exe" "$drive_c/Brisa/"
printf '%s\r\n' '[Options]' 'WAVDir=C:\WAV' 'Client=1011' '[Hotkeys]' 'Ctrl+Alt+1=fun\boing.wav' \
    'Ctrl+Alt+2=applause.wav' 'Ctrl+Alt+3=greetings\hello.wav' 'Ctrl+Alt+4=cheer.wav' \
    '[Soundboard]' 'StopHotkey=Ctrl+Alt+0' 'Volume=70' >"$drive_c/Brisa/Brisa.INI"
scripts/demo_sounds.sh "$drive_c/WAV" >>"$log"
# A second of MPEG-1 Layer III frames (128 kbit/s, 44.1 kHz, mono) whose side information is all
# zero: silence.
for _ in $(seq 38); do
    printf '\377\373\220\304'
    head -c 413 /dev/zero
done >"$drive_c/WAV/hush.mp3"
mkdir -p "$drive_c/WAV/fun" "$drive_c/WAV/greetings"
wav() { sox -n -r 11025 -b 8 -c 1 "$drive_c/WAV/$1" "${@:2}"; }
wav fun/boing.wav synth 0.5 sine 200-800 fade p 0 0.5 0.45
wav fun/whoosh.wav synth 0.7 pinknoise fade p 0.3 0.7 0.4
wav greetings/hello.wav synth 0.2 sine 784 : synth 0.3 sine 1047
cp "$drive_c/WAV/tune.mid" "$drive_c/WAV/greetings/bye.mid"

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

# Wider and taller than Brisa opens: each third of the status line has room for what it says.
wide() {
    local w h
    read -r w h _ <<<"$(tr 'x+' '  ' <<<"$1")"
    echo "$((w * 13 / 5))x$((h * 13 / 10))"
}

wine "$build/bin/BrisaStandInClient.exe" >>"$log" 2>&1 &
client_pid=$!
read -r client_hwnd client < <(drive rect "Stand-in IRC client (mIRC)") || true
# Started once the client shows, so Send and DCC are enabled.
wine 'C:\Brisa\Brisa.exe' >>"$log" 2>&1 &
brisa_pid=$!
read -r _ main < <(drive rect "Brisa Server - Brisa") || true
if [ -z "$client" ] || [ -z "$main" ]; then
    echo "screenshots: Brisa or the stand-in client did not start (see $log)" >&2
    exit 1
fi

drive select "$(id IDC_FILE_LIST)" 'fun\boing.wav'
shot main "$main"
open_and_shoot hotkeys IDC_HOTKEY
open_and_shoot about ID_APP_ABOUT
open_and_shoot options IDC_OPTIONS
open_and_shoot dcc-send IDC_DCC
open_and_shoot help ID_HELP_INDEX
# The stand-in client stands at a fixed place, which Brisa's larger window covers at 150 %.
if [ $dpi = 96 ]; then
    drive post "$(id IDC_SEND)"
    shot with-client "$main" "$client"
fi

read -r _ wide < <(drive size "$(wide "$main")") || true
drive text "$(id IDC_FILTER)" ing
shot search "$wide"
drive text "$(id IDC_FILTER)" ''
# The first entry, so that the menu opens over the list.
drive select "$(id IDC_FILE_LIST)" applause.wav
read -r hwnd menu < <(drive menu "$(id IDC_FILE_LIST)") || true
[ -n "$menu" ] || {
    echo "screenshots: the list's context menu did not open (see $log)" >&2
    exit 1
}
shot wide "$wide" "$menu"
drive close "$hwnd"

# Once the client has gone: Send and DCC greyed, the status line waiting for it.
if [ $dpi = 96 ]; then
    drive close "$client_hwnd"
    wait $client_pid || true
    client_pid=
    # Brisa looks for the client once a second.
    sleep 2
    shot no-client "$wide"
fi
drive post "$(id ID_APP_EXIT)"
wait $brisa_pid || true
brisa_pid=

# Names in several scripts: a sound folder of them, and the stand-in client's nicknames in DCC Send.
if [ $dpi = 96 ]; then
    mkdir -p "$drive_c/Sons"
    for name in Été Łódź Звонок Καμπάνα ベル 铃声; do
        cp "$drive_c/WAV/ding.wav" "$drive_c/Sons/$name.wav"
    done
    printf '[Options]\r\nWAVDir=C:\\Sons\r\nClient=1011\r\n' >"$drive_c/Brisa/Brisa.INI"
    wine "$build/bin/BrisaStandInClient.exe" >>"$log" 2>&1 &
    client_pid=$!
    drive rect "Stand-in IRC client (mIRC)" >/dev/null || true
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
