#!/usr/bin/env bash
# Power-loss check: terrix-cli killed with SIGKILL at random moments against terrix-sim, 100 times while it
# measures in a loop and 100 times while a scan saves, every measurement, settings and module file checked
# after each kill (tests/e2e/kill_test.cpp; the test suite runs two of each).
#   scripts/kill-test.sh [kills] [seed]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TERRIX_TEST_BUILD_DIR:-build-test}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTERRIX_SANITIZE=ON -DTERRIX_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target test_e2e
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
TERRIX_KILLS=${1:-100} TERRIX_KILL_SEED=${2:-16} "$build/bin/test_e2e" --gtest_filter='KillTest.*'
