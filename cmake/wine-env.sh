#!/usr/bin/env bash
# The Wine environment of one build folder: an Xvfb display, a Wine prefix and a persistent
# wineserver, all kept under <build-dir>/wine/.
#   wine-env.sh start <build-dir>   make sure all three are up (idempotent, safe to run at once)
#   wine-env.sh stop <build-dir>    end every Wine process of the prefix, wineserver and Xvfb
# After start, <build-dir>/wine/display holds the display number and xvfb.pid the server's pid.
# Once the tests are built, start also keeps bin/wine_desktop_keeper.exe running (see its source).
set -euo pipefail

if [ $# -ne 2 ] || { [ "$1" != start ] && [ "$1" != stop ]; }; then
    echo "usage: $0 start|stop <build-dir>" >&2
    exit 2
fi
action=$1
mkdir -p "$2/wine"
state=$(cd "$2/wine" && pwd)
keeper=$(cd "$2" && pwd)/bin/wine_desktop_keeper.exe
export WINEPREFIX=$state/prefix
export WINEDEBUG=-all
log=$state/wine-env.log

# Daemons must not inherit the lock (fd 9) or the caller's output pipes: ctest waits for those
# pipes to close, and a lock held by Xvfb would block every later call.
exec 9>"$state/lock"
flock -w 300 9

die() {
    echo "wine-env: $*" >&2
    exit 1
}

xvfb_alive() {
    local pid
    [ -s "$state/display" ] && [ -s "$state/xvfb.pid" ] || return 1
    pid=$(cat "$state/xvfb.pid")
    [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = Xvfb ]
}

start_xvfb() {
    rm -f "$state/display" "$state/xvfb.pid" "$state/display.new"
    # -displayfd picks a free display and writes its number once the server accepts clients.
    # Its own session keeps it out of reach of ctest killing a timed-out test's process group;
    # a background job is no group leader, so setsid execs Xvfb in place and $! is its pid.
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
        3>"$state/display.new" </dev/null >"$state/xvfb.log" 2>&1 9>&- &
    local pid=$! i
    for ((i = 0; i < 200; i++)); do
        [ -s "$state/display.new" ] && break
        sleep 0.05
    done
    [ -s "$state/display.new" ] || die "Xvfb did not start (see $state/xvfb.log)"
    echo "$pid" >"$state/xvfb.pid"
    tr -d '[:space:]' <"$state/display.new" >"$state/display"
    rm -f "$state/display.new"
    xvfb_alive || die "Xvfb is not running as pid $pid"
}

stop_wine() {
    wineserver -k </dev/null >>"$log" 2>&1 9>&- || true
    wineserver -w </dev/null >>"$log" 2>&1 9>&- || true
}

stop_xvfb() {
    if xvfb_alive; then
        local pid i
        pid=$(cat "$state/xvfb.pid")
        kill "$pid" 2>/dev/null || true
        for ((i = 0; i < 100; i++)); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.05
        done
    fi
    rm -f "$state/display" "$state/xvfb.pid"
}

keeper_alive() {
    local pid
    pid=$(cat "$state/keeper.pid" 2>/dev/null) && grep -qs wine_desktop_keeper "/proc/$pid/cmdline"
}

start_keeper() {
    rm -f "$state/keeper.ready"
    (cd "$state" && exec setsid wine "$keeper" keeper.ready </dev/null >>"$log" 2>&1 9>&-) &
    local pid=$! i
    echo "$pid" >"$state/keeper.pid"
    for ((i = 0; i < 400; i++)); do
        [ -e "$state/keeper.ready" ] && return 0
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    # Tests still run without it, a second slower each.
    echo "wine-env: the desktop keeper did not start (see $log)" >&2
    kill "$pid" 2>/dev/null || true
    rm -f "$state/keeper.pid"
}

if [ "$action" = stop ]; then
    stop_wine
    stop_xvfb
    rm -f "$state/keeper.pid" "$state/keeper.ready"
    exit 0
fi

if ! xvfb_alive; then
    # Wine processes left from an earlier display would keep talking to a dead server.
    stop_wine
    start_xvfb
fi
export DISPLAY=:$(cat "$state/display")

# The server needs the prefix folder; wineboot fills it in below.
mkdir -p "$WINEPREFIX"
# -p keeps the server alive between tests, which takes a Wine process start from about 3 s to a
# tenth of that. It exits with 2, doing nothing, when this prefix has its server already.
new_server=yes
wineserver -p </dev/null >>"$log" 2>&1 9>&- || new_server=no

# Names the prefix settings below; a prefix made with other settings gets these.
settings="boot+no-crash-dialog+unmanaged+brisa-native-winmm+wine-fonts+cjk-font-links"
if [ "$(cat "$state/prefix.ready" 2>/dev/null)" != "$settings" ]; then
    if [ ! -e "$WINEPREFIX/system.reg" ]; then
        # No Mono or Gecko installer dialogs.
        WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i </dev/null >>"$log" 2>&1 9>&- ||
            die "wineboot failed (see $log)"
    fi
    # A crash must end the process, not wait for a click on winedbg's dialog.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
        </dev/null >>"$log" 2>&1 9>&- || die "setting ShowCrashDialog failed (see $log)"
    # With no window manager on the display, destroying a managed window waits 2 s for a
    # withdrawn state that never comes; unmanaged windows also get Wine's own caption and frame.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
        </dev/null >>"$log" 2>&1 9>&- || die "setting Managed failed (see $log)"
    # A test puts a recording winmm.dll beside its copy of Brisa.exe. Wine drops WINEDLLOVERRIDES
    # from the environment a process hands its child, so the override is Brisa.exe's own here.
    wine reg add 'HKCU\Software\Wine\AppDefaults\Brisa.exe\DllOverrides' /v winmm /t REG_SZ \
        /d native,builtin /f </dev/null >>"$log" 2>&1 9>&- || die "setting winmm failed (see $log)"
    # Debian keeps Wine's own TrueType fonts (Tahoma, and Marlett for caption buttons) out of
    # the prefix; without them Wine draws "0 1 r" where a window's caption buttons belong.
    cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    # Those fonts have no Chinese or Japanese characters; the fonts of Brisa's windows borrow
    # them from WenQuanYi Micro Hei (fonts-wqy-microhei), as Windows' own fonts borrow theirs.
    # (Wine sets the links of Tahoma and Microsoft Sans Serif itself at each start.)
    for face in "MS Sans Serif" Arial; do
        wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
            /v "$face" /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f \
            </dev/null >>"$log" 2>&1 9>&- || die "setting the font link failed (see $log)"
    done
    echo "$settings" >"$state/prefix.ready"
fi

if [ $new_server = yes ]; then
    # The prefix's background processes (services, the desktop) inherit the output of the Wine
    # process that starts them. Started by a test they would hold its output pipe open and ctest
    # would wait for them; started here they write to the log.
    wineboot </dev/null >>"$log" 2>&1 9>&- || die "starting the Wine session failed (see $log)"
fi

if [ -e "$keeper" ] && ! keeper_alive; then
    start_keeper
fi
