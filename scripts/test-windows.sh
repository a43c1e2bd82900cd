#!/usr/bin/env bash
# The Windows stage of the tests: the MinGW-w64 build, its unit tests under Wine (ctest), files written by
# the Windows build read by the Linux build and the other way round, and the portable zip.
# Usage: scripts/test-windows.sh [LINUX_BUILD_DIR]   (default $TERRIX_TEST_BUILD_DIR or build-test, which
# must hold a built test_measure)
set -euo pipefail
cd "$(dirname "$0")/.."
win=${TERRIX_WINDOWS_BUILD_DIR:-build-windows}
linux=${1:-${TERRIX_TEST_BUILD_DIR:-build-test}}

# The desktop program has a stage of its own (scripts/test-windows-desktop.sh, run by CI after this command).
TERRIX_WINDOWS_DESKTOP=off scripts/build-windows.sh "$win"
ctest --test-dir "$win" --output-on-failure -j2

# Each side writes its set and compares the other's: Windows first, Linux reads it, Windows reads Linux's.
exchange=$PWD/$win/exchange
rm -rf "$exchange"
under_wine() { scripts/wine-run.sh "$PWD/$win/wineprefix" "$@"; }
filter=--gtest_filter='FileExchange.*'
TERRIX_EXCHANGE_DIR=$exchange under_wine "$win/bin/test_measure.exe" "$filter"
TERRIX_EXCHANGE_DIR=$exchange "$linux/bin/test_measure" "$filter"
TERRIX_EXCHANGE_DIR=$exchange under_wine "$win/bin/test_measure.exe" "$filter"

# terrix-cli.exe under Wine against terrix-sim (needs test_e2e, terrix-cli and terrix-sim built in $linux).
TERRIX_WINDOWS_BUILD_DIR=$win scripts/test-windows-e2e.sh "$linux"

scripts/package-windows.sh "$win"
