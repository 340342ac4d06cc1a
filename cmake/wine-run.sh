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
exec wine "$@"
