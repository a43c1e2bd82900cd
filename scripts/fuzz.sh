#!/usr/bin/env bash
# Builds the libFuzzer targets of the parsers (clang, AddressSanitizer, UndefinedBehaviorSanitizer) and runs
# each for the given number of seconds (default 20), as many side by side as there are processors (each
# fuzzer keeps one busy). Fails on any crash, leak, sanitizer report or broken check; the input that did it
# is kept in <build>/artifacts/.
#   scripts/fuzz.sh [seconds]            FUZZ_RUNS=N  runs every target N executions instead of a time
#   FUZZ_TARGETS="frame par"             only these targets
#   FUZZ_JOBS=N                          N targets at a time (default: the number of processors)
#   TERRIX_BUILD_NICE=N                  compile at this niceness (scripts/test.sh: the fuzzers, not the
#                                        compiles beside them, get the processors first)
# The seed corpora are tests/fuzz/corpus/<target>/; what a run learns stays in <build>/corpus/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
build=${TERRIX_FUZZ_BUILD_DIR:-build-fuzz}
targets=${FUZZ_TARGETS:-$(cd tests/fuzz && ls fuzz_*.cpp | sed 's/^fuzz_//; s/\.cpp$//')}
jobs=${FUZZ_JOBS:-$(nproc)}

CC=${FUZZ_CC:-clang} CXX=${FUZZ_CXX:-clang++} cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTERRIX_WERROR=ON -DTERRIX_FUZZ=ON -DTERRIX_UNITY_BUILD=ON -DTERRIX_UNITY_BATCH_SIZE=16 \
    -DTERRIX_BUILD_GUI=OFF -DTERRIX_BUILD_TESTS=OFF -DTERRIX_BUILD_BENCH=OFF >/dev/null
# shellcheck disable=SC2046,SC2086
nice -n "${TERRIX_BUILD_NICE:-0}" cmake --build "$build" -j "$(nproc)" --target $(printf 'fuzz_%s ' $targets)

# One run allocates far less than 16 MB, so a quarantine of that size still catches a use after free within
# and across runs; the default 256 MB only makes every run fault in fresh pages.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:quarantine_size_mb=16}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
mkdir -p "$build/artifacts"
limit=(-max_total_time="$seconds")
if [ -n "${FUZZ_RUNS:-}" ]; then
    limit=(-runs="$FUZZ_RUNS")
fi

# One target: its log in <build>/fuzz_<target>.log, its exit status in <build>/fuzz_<target>.status.
fuzz_one() {
    local t=$1 status=0
    mkdir -p "$build/corpus/$t"
    "$build/bin/fuzz_$t" "${limit[@]}" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$t-" "$build/corpus/$t" "tests/fuzz/corpus/$t" \
        >"$build/fuzz_$t.log" 2>&1 || status=$?
    echo "$status" >"$build/fuzz_$t.status"
}
echo "fuzzing ${limit[*]}, $jobs at a time: $targets"
for t in $targets; do
    rm -f "$build/fuzz_$t.status"
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do
        wait -n || true
    done
    fuzz_one "$t" &
done
wait

# The report in the targets' order, whatever order they ended in.
failed=()
for t in $targets; do
    log="$build/fuzz_$t.log"
    if [ "$(cat "$build/fuzz_$t.status" 2>/dev/null)" = 0 ]; then
        echo "fuzz_$t: $(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -1 || true)"
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
