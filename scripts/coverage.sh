#!/usr/bin/env bash
# Which lines and branches of the program the test suite runs (clang source-based coverage): builds the suite
# with coverage, runs ctest (child processes such as terrix-cli and terrix-sim write their own profiles), and
# prints a per-file table of the program's folders. Meant for judging a change to the tests: run it before and
# after, and compare the tables (`diff` of the two coverage.txt files).
#
#   scripts/coverage.sh                  every ctest entry except the desktop ones
#   scripts/coverage.sh -R 'test_bus'    extra arguments go to ctest
#
# Environment: TERRIX_COVERAGE_BUILD_DIR (default build-cov), TERRIX_COVERAGE_GUI=1 builds the desktop program
# and its tests too, TERRIX_COVERAGE_JOBS (default 2). The table is also written to <build>/coverage.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TERRIX_COVERAGE_BUILD_DIR:-build-cov}
jobs=${TERRIX_COVERAGE_JOBS:-2}
gui=OFF
ctest_filter=(-E '^(gui_|tst_)')
if [[ ${TERRIX_COVERAGE_GUI:-0} == 1 ]]; then
    gui=ON
    ctest_filter=()
fi
CC=clang CXX=clang++ CMAKE_CXX_COMPILER_LAUNCHER=ccache CMAKE_C_COMPILER_LAUNCHER=ccache \
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTERRIX_COVERAGE=ON -DTERRIX_BUILD_GUI="$gui" \
    -DTERRIX_BUILD_BENCH=OFF >/dev/null
nice cmake --build "$build" -j"$jobs"

profiles="$build/profiles"
rm -rf "$profiles"
mkdir -p "$profiles"
# %p: one profile per process, so concurrent tests and their child processes never share a file.
LLVM_PROFILE_FILE="$PWD/$profiles/%p.profraw" QT_QPA_PLATFORM=offscreen \
    nice ctest --test-dir "$build" -j"$jobs" --timeout 900 "${ctest_filter[@]}" "$@" || {
    echo "coverage: some tests failed (the table below still counts what ran)" >&2
}
llvm-profdata-14 merge -sparse "$profiles"/*.profraw -o "$build/merged.profdata"

# The first program is named plainly, every further one with -object.
objects=()
for f in "$build"/bin/*; do
    if [[ -f $f && -x $f ]] && head -c4 "$f" | grep -q ELF; then
        [[ ${#objects[@]} -eq 0 ]] && objects+=("$f") || objects+=(-object "$f")
    fi
done
llvm-cov-14 report -instr-profile "$build/merged.profdata" "${objects[@]}" \
    -ignore-filename-regex='(/tests/|/bench/|^/usr/|_autogen/)' -show-region-summary=false \
    -show-instantiation-summary=false | sed -E "s|^(\.\./)+||; s|$PWD/||" | tee "$build/coverage.txt"
