#!/usr/bin/env bash
# Runs a Windows program under Wine in the test environment of a build folder, starting that
# environment first when needed. The Windows tests use it as their CMAKE_CROSSCOMPILING_EMULATOR.
#   wine-run.sh <build-dir> <program.exe> [arguments...]
set -euo pipefail

if [ $# -lt 2 ]; then
    echo "usage: $0 <build-dir> <program.exe> [arguments...]" >&2
    exit 2
fi
build=$1
shift
"$(dirname "$0")/wine-env.sh" start "$build"
state=$(cd "$build/wine" && pwd)

export DISPLAY=:$(cat "$state/display")
export WINEPREFIX=$state/prefix
export WINEDEBUG=-all

# Listing a test program's tests has been seen to fail once in a while as Wine starts up, with no
# output at all; a listing has no side effects, so try it again rather than lose the whole program.
if [[ " $* " == *" --gtest_list_tests "* ]]; then
    for attempt in 1 2 3; do
        if listing=$(wine "$@") && [ -n "$listing" ]; then
            printf '%s\n' "$listing"
            exit 0
        fi
        echo "wine-run: listing tests failed (attempt $attempt)" >&2
    done
    exit 1
fi
exec wine "$@"
