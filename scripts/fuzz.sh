#!/usr/bin/env bash
# Builds the libFuzzer targets of the parsers (clang, AddressSanitizer, UndefinedBehaviorSanitizer) and runs
# each for the given number of seconds (default 20), one after another. Fails on any crash, leak, sanitizer
# report or broken check; the input that did it is kept in <build>/artifacts/.
#   scripts/fuzz.sh [seconds]            FUZZ_RUNS=N  runs every target N executions instead of a time
#   FUZZ_TARGETS="frame par"             only these targets
# The seed corpora are tests/fuzz/corpus/<target>/; what a run learns stays in <build>/corpus/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
build=${TERRIX_FUZZ_BUILD_DIR:-build-fuzz}
targets=${FUZZ_TARGETS:-$(cd tests/fuzz && ls fuzz_*.cpp | sed 's/^fuzz_//; s/\.cpp$//')}

CC=${FUZZ_CC:-clang} CXX=${FUZZ_CXX:-clang++} cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTERRIX_WERROR=ON -DTERRIX_FUZZ=ON -DTERRIX_UNITY_BUILD=ON -DTERRIX_BUILD_GUI=OFF -DTERRIX_BUILD_TESTS=OFF \
    -DTERRIX_BUILD_BENCH=OFF >/dev/null
# shellcheck disable=SC2086
cmake --build "$build" --target $(printf 'fuzz_%s ' $targets)

# One run allocates far less than 16 MB, so a quarantine of that size still catches a use after free within
# and across runs; the default 256 MB only makes every run fault in fresh pages.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:quarantine_size_mb=16}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
mkdir -p "$build/artifacts"
limit=(-max_total_time="$seconds")
if [ -n "${FUZZ_RUNS:-}" ]; then
    limit=(-runs="$FUZZ_RUNS")
fi
failed=()
for t in $targets; do
    mkdir -p "$build/corpus/$t"
    log="$build/fuzz_$t.log"
    echo "fuzz_$t: ${limit[*]}"
    if "$build/bin/fuzz_$t" "${limit[@]}" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$t-" "$build/corpus/$t" "tests/fuzz/corpus/$t" >"$log" 2>&1; then
        grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -1 || true
    else
        echo "fuzz_$t FAILED (log: $log)"
        grep -E 'ERROR|SUMMARY|==[0-9]+==|artifact' "$log" | head -20 || true
        failed+=("$t")
    fi
done
if [ ${#failed[@]} -ne 0 ]; then
    echo "fuzzing failed: ${failed[*]}"
    exit 1
fi
