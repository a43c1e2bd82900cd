#!/usr/bin/env bash
# The Windows stage of the tests: the MinGW-w64 build, its unit tests under Wine (ctest), files written by
# the Windows build read by the Linux build and the other way round, terrix-cli.exe under Wine against
# terrix-sim, and the portable zip.
# Usage: scripts/test-windows.sh [LINUX_BUILD_DIR]   (default $TERRIX_TEST_BUILD_DIR or build-test, which
# must hold a built test_measure, test_e2e, terrix-cli and terrix-sim)
# TERRIX_WINDOWS_STEPS picks steps (default all, in this order): build units exchange e2e package. Only
# exchange and e2e need the Linux build, so scripts/test.sh runs the others while that is still compiling.
set -euo pipefail
cd "$(dirname "$0")/.."
win=${TERRIX_WINDOWS_BUILD_DIR:-build-windows}
linux=${1:-${TERRIX_TEST_BUILD_DIR:-build-test}}
steps=${TERRIX_WINDOWS_STEPS:-build units exchange e2e package}

for step in $steps; do
    case $step in
    # The desktop program has a stage of its own (scripts/test-windows-desktop.sh, run by CI after this
    # command).
    build) TERRIX_WINDOWS_DESKTOP=off scripts/build-windows.sh "$win" ;;
    units) ctest --test-dir "$win" --output-on-failure -j2 ;;
    exchange)
        # Each side writes its set and compares the other's: Windows first, Linux reads it, Windows reads
        # Linux's.
        exchange=$PWD/$win/exchange
        rm -rf "$exchange"
        filter=--gtest_filter='FileExchange.*'
        under_wine() { scripts/wine-run.sh "$PWD/$win/wineprefix" "$@"; }
        TERRIX_EXCHANGE_DIR=$exchange under_wine "$win/bin/test_measure.exe" "$filter"
        TERRIX_EXCHANGE_DIR=$exchange "$linux/bin/test_measure" "$filter"
        TERRIX_EXCHANGE_DIR=$exchange under_wine "$win/bin/test_measure.exe" "$filter"
        ;;
    e2e) TERRIX_WINDOWS_BUILD_DIR=$win scripts/test-windows-e2e.sh "$linux" ;;
    package) scripts/package-windows.sh "$win" ;;
    *)
        echo "test-windows.sh: unknown step '$step' (build units exchange e2e package)" >&2
        exit 2
        ;;
    esac
done
