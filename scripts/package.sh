#!/usr/bin/env bash
# Builds Brisa.exe for 32- and 64-bit Windows and packs each into a zip under build/packages/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

out=build/packages
mkdir -p "$out"
for preset in win32 win64; do
    log=$out/$preset.log
    echo "Building and packing $preset (log: $log)"
    if ! {
        cmake --preset $preset &&
            cmake --build --preset $preset --target Brisa &&
            (cd build/$preset && cpack -B "../../$out")
    } >"$log" 2>&1; then
        tail -n 30 "$log"
        echo "package: $preset failed; the whole log is $log" >&2
        exit 1
    fi
done
rm -rf "$out/_CPack_Packages"
for zip in "$out"/Brisa-*-win32.zip "$out"/Brisa-*-win64.zip; do
    echo "$zip"
done
