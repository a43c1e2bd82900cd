#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TERRIX_TEST_BUILD_DIR:-build-test}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTERRIX_WERROR=ON -DTERRIX_SANITIZE=ON \
    -DTERRIX_UNITY_BUILD=ON -DTERRIX_BUILD_BENCH=OFF >/dev/null
cmake --build "$build"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
# The end-to-end cases mostly wait on the simulated bus (a few per cent of a core each), so they run eight at a
# time beside the rest of the suite instead of taking two of its slots.
ctest --test-dir "$build" --output-on-failure -L e2e -j8 &
e2e=$!
status=0
ctest --test-dir "$build" --output-on-failure -LE e2e -j"$(nproc)" || status=$?
wait "$e2e" || status=$?
[[ $status == 0 ]] || { echo "tests failed" >&2; exit "$status"; }

# The Windows build under Wine (scripts/test-windows.sh), reading and writing files with this build.
scripts/test-windows.sh "$build"

# The threads under ThreadSanitizer: a second build of the measuring loop's tests and, with
# TERRIX_TSAN_GUI=1, of the desktop tests too (bus jobs, publisher). Qt is not instrumented, so its own
# cross-thread event queue is suppressed (tests/gui/tsan.supp).
tsan=${TERRIX_TSAN_BUILD_DIR:-build-tsan}
tsan_gui=$([[ ${TERRIX_TSAN_GUI:-0} == 1 ]] && echo ON || echo OFF)
cmake -S . -B "$tsan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTERRIX_WERROR=ON -DTERRIX_TSAN=ON -DTERRIX_UNITY_BUILD=ON \
    -DTERRIX_BUILD_GUI="$tsan_gui" -DTERRIX_BUILD_BENCH=OFF >/dev/null
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/tests/gui/tsan.supp}
cmake --build "$tsan" --target test_circuit $([[ $tsan_gui == ON ]] && echo tests/gui/all)
"$tsan/bin/test_circuit"
[[ $tsan_gui == OFF ]] || QT_QPA_PLATFORM=offscreen ctest --test-dir "$tsan" --output-on-failure -R '^gui_tst_' -j"$(nproc)"

# Every parser of outside input under libFuzzer for a short while (scripts/fuzz.sh; longer runs by hand).
scripts/fuzz.sh "${TERRIX_FUZZ_SECONDS:-20}"

# The Debian packages: built (a Release build of the programs only, in a folder of its own), checked with
# lintian and the desktop and AppStream validators, unpacked into a scratch root and run from there.
# TERRIX_TEST_PACKAGES=0 leaves them out.
if [[ ${TERRIX_TEST_PACKAGES:-1} != 0 ]]; then
    package=${TERRIX_PACKAGE_BUILD_DIR:-build-package}
    scripts/package-deb.sh "$package"
    scripts/test-packages.sh "$package"
fi
