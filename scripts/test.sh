#!/usr/bin/env bash
# Runs every test the way CI does: native unit tests with sanitizers, and the Windows tests under
# Wine for the 32-bit build (in an i386 Debian, cmake/i386-env.sh) and the 64-bit one.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh || exit 1

total_passed=0
total_failed=0
status=0

# Configures (with any further cache settings), builds and (when the preset has tests) runs one
# preset, adding to the totals.
run_preset() {
    local preset=$1 with_tests=$2
    echo "=== $preset"
    local log=build/$preset.log
    if ! { cmake --preset "$preset" "${@:3}" && cmake --build --preset "$preset"; } >"$log" 2>&1; then
        tail -n 60 "$log"; status=1; return
    fi
    [ "$with_tests" = yes ] || return 0
    ctest --preset "$preset" 2>&1 | tee "build/$preset.ctest.log"
    local summary
    summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' \
        "build/$preset.ctest.log" | tail -n 1)
    if [ -z "$summary" ]; then
        status=1; return
    fi
    local failed all
    failed=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$summary")
    all=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$summary")
    total_passed=$((total_passed + all - failed))
    total_failed=$((total_failed + failed))
    [ "$failed" -eq 0 ] || status=1
}

mkdir -p build
run_preset native yes

# The i386 Debian's Wine and binfmt_misc entry must not outlive the run, even an interrupted one.
trap 'cmake/i386-env.sh stop build/win32 >/dev/null 2>&1' EXIT
trap 'exit 130' INT TERM
echo "=== i386"
i386=0
cmake/i386-env.sh start build/win32 || i386=$?
if [ $i386 -eq 0 ]; then
    run_preset win32 yes
    cmake/i386-env.sh stop build/win32 || status=1
else
    # Exit 3: 32-bit programs cannot run on this machine, as start said; the build is still checked.
    [ $i386 -eq 3 ] || status=1
    run_preset win32 yes -DBRISA_WINE_TESTS=OFF
fi
run_preset win64 yes
cmake/wine-env.sh stop build/win64 >/dev/null 2>&1 || true

echo
echo "Total: $total_passed passed, $total_failed failed"
exit $status
