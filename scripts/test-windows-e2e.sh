#!/usr/bin/env bash
# End-to-end runs of the Windows terrix-cli.exe under Wine against terrix-sim (a pseudo-terminal mapped as a
# COM port), driven by the Linux end-to-end test program. Prints the stage's wall and processor time.
# Usage: scripts/test-windows-e2e.sh [LINUX_BUILD_DIR]   (default $TERRIX_TEST_BUILD_DIR or build-test, which
# must hold a built test_e2e, terrix-cli and terrix-sim); the Windows build is $TERRIX_WINDOWS_BUILD_DIR or
# build-windows, made by scripts/build-windows.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
win=${TERRIX_WINDOWS_BUILD_DIR:-build-windows}
linux=${1:-${TERRIX_TEST_BUILD_DIR:-build-test}}
export TERRIX_WINDOWS_BUILD=$PWD/$win
# The cases' data folders lie under a name that no single ANSI code page holds (Polish, German and Greek
# letters), so a path garbled on its way through the command line or the file API fails a case.
export TMPDIR=${TMPDIR:-/tmp}/terrix-wine-Łódź-Prüfung-Ω
mkdir -p "$TMPDIR"
# The cases use COM ports of their own, so they run side by side like the other end-to-end cases.
TIMEFORMAT='Windows end-to-end stage: %R s wall, %U s user, %S s system'
time ctest --test-dir "$linux" -R 'WineCliTest' --output-on-failure -j3
