#!/usr/bin/env bash
# Builds and runs every test: the AddressSanitizer and UndefinedBehaviorSanitizer build and its tests, the
# Windows build under Wine, the threads under ThreadSanitizer, the fuzz targets and the Debian packages.
#
# Much of it waits rather than computes (the end-to-end cases on the simulated bus at serial speed, Wine,
# the installed program's tour), so the stages below run side by side, TERRIX_TEST_LANES (default 3) at a
# time, each as soon as the stages it needs have passed. The compiles run at a lower priority
# (TERRIX_BUILD_NICE, default 10): what runs against a clock, a fuzzer's seconds or a case on the simulated
# bus, gets the processors first, and the compiles take the rest.
#
# Each stage writes its output to build-logs/<stage>.log (TERRIX_TEST_LOG_DIR); a line tells when it ends,
# with its wall and processor time, and the log of a failed stage is printed at the end.
#   TERRIX_FUZZ_SECONDS=N      seconds per fuzz target (default 20)
#   TERRIX_TSAN_GUI=0          the ThreadSanitizer stage without the desktop tests
#   TERRIX_TEST_PACKAGES=0     leaves the Debian packages out
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TERRIX_TEST_BUILD_DIR:-build-test}
tsan=${TERRIX_TSAN_BUILD_DIR:-build-tsan}
package=${TERRIX_PACKAGE_BUILD_DIR:-build-package}
logs=${TERRIX_TEST_LOG_DIR:-build-logs}
lanes=${TERRIX_TEST_LANES:-3}
export TERRIX_BUILD_NICE=${TERRIX_BUILD_NICE:-10}
compile=(nice -n "$TERRIX_BUILD_NICE")
jobs=$(nproc)

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

# ---- The stages -------------------------------------------------------------------------------------------

asan_build() {
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTERRIX_WERROR=ON -DTERRIX_SANITIZE=ON \
        -DTERRIX_UNITY_BUILD=ON -DTERRIX_BUILD_BENCH=OFF >/dev/null
    "${compile[@]}" cmake --build "$build" -j "$jobs"
}

asan_tests() {
    # The end-to-end cases mostly wait on the simulated bus (a few per cent of a core each), so they run eight
    # at a time beside the rest of the suite instead of taking two of its slots.
    local status=0 e2e
    ctest --test-dir "$build" --output-on-failure -L e2e -j8 &
    e2e=$!
    ctest --test-dir "$build" --output-on-failure -LE e2e -j"$jobs" || status=$?
    wait "$e2e" || status=$?
    return "$status"
}

# The Windows build under Wine (scripts/test-windows.sh): the build and its unit tests need nothing of the
# Linux build; the file exchange and terrix-cli.exe against terrix-sim do.
windows_build() { TERRIX_WINDOWS_STEPS=build "${compile[@]}" scripts/test-windows.sh "$build"; }
windows_units() { TERRIX_WINDOWS_STEPS="units package" scripts/test-windows.sh "$build"; }
windows_with_linux() { TERRIX_WINDOWS_STEPS="exchange e2e" scripts/test-windows.sh "$build"; }

# The threads under ThreadSanitizer: a build of the measuring loop's tests and of the desktop tests whose
# work runs on other threads: the bus job itself, the bus windows' jobs and the broker test, closing each
# bus window during every bus operation, the session end with a window open, the circuit window's measuring
# loop and publisher, calls queued to a window from other threads. Qt is not instrumented, so its own
# cross-thread event queue is suppressed (tests/gui/tsan.supp).
tsan_gui_tests=(tst_bus_job tst_bus_dialogs tst_close_sweep tst_session_end tst_circuit_window tst_toolkit_controls)
tsan_stage() {
    local gui=ON
    [[ ${TERRIX_TSAN_GUI:-1} != 0 ]] || gui=OFF
    cmake -S . -B "$tsan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTERRIX_WERROR=ON -DTERRIX_TSAN=ON \
        -DTERRIX_UNITY_BUILD=ON -DTERRIX_UNITY_BATCH_SIZE=16 -DTERRIX_BUILD_GUI="$gui" -DTERRIX_BUILD_BENCH=OFF \
        >/dev/null
    export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/tests/gui/tsan.supp}
    if [[ $gui == ON ]]; then
        "${compile[@]}" cmake --build "$tsan" -j "$jobs" --target test_circuit "${tsan_gui_tests[@]}"
    else
        "${compile[@]}" cmake --build "$tsan" -j "$jobs" --target test_circuit
    fi
    "$tsan/bin/test_circuit"
    [[ $gui == OFF ]] || ctest --test-dir "$tsan" --output-on-failure -j"$jobs" \
        -R "^gui_($(IFS='|'; echo "${tsan_gui_tests[*]}"))(_|\$)"
}

# Every parser of outside input under libFuzzer for a short while (scripts/fuzz.sh; longer runs by hand).
fuzz_stage() { scripts/fuzz.sh "${TERRIX_FUZZ_SECONDS:-20}"; }

# The Debian packages: built (a Release build of the programs only, in a folder of its own), checked with
# lintian and the desktop and AppStream validators, unpacked into a scratch root and run from there.
package_build() { "${compile[@]}" scripts/package-deb.sh "$package"; }
package_tests() { scripts/test-packages.sh "$package"; }

# Name, function and the stages it needs, in the order they are started when several could start.
stages=(
    "asan-build asan_build"
    "windows-build windows_build"
    "asan-tests asan_tests asan-build"
    "windows-units windows_units windows-build"
    "windows-linux windows_with_linux windows-build asan-build"
    "tsan tsan_stage"
    "fuzz fuzz_stage"
)
if [[ ${TERRIX_TEST_PACKAGES:-1} != 0 ]]; then
    stages+=("package-build package_build" "package-tests package_tests package-build")
fi

# ---- Running them side by side ----------------------------------------------------------------------------

rm -rf "$logs"
mkdir -p "$logs"
logs=$(cd "$logs" && pwd)
began=$SECONDS
clock() { printf '%3d:%02d' $(((SECONDS - began) / 60)) $(((SECONDS - began) % 60)); }

# Processor seconds (user and system) of this shell's finished children, as the builtin times reported them
# into the file given (times itself must run in the lane's shell: a command substitution is a new process).
cpu_seconds() {
    awk 'NR == 2 { for (i = 1; i <= 2; i++) { split($i, t, "m"); sub("s", "", t[2]); s += t[1] * 60 + t[2] } }
         END { printf "%.0f\n", s }' "$1"
}

# Runs one stage in the background of this lane and waits for it, so that its own errexit holds; the
# result "passed|failed|skipped WALL CPU" goes to <stage>.result, which the other lanes wait for.
run_stage() {
    local name=$1 fn=$2 status=0 t0=$SECONDS cpu0 cpu1
    shift 2
    for need in "$@"; do
        if [[ $(cut -d' ' -f1 "$logs/$need.result") != passed ]]; then
            echo "$(clock) $name: skipped, $need did not pass"
            echo "skipped 0 0" >"$logs/$name.result"
            return
        fi
    done
    echo "$(clock) $name: started"
    times >"$logs/.$name.times"
    cpu0=$(cpu_seconds "$logs/.$name.times")
    ("$fn") >"$logs/$name.log" 2>&1 </dev/null &
    wait $! || status=$?
    times >"$logs/.$name.times"
    cpu1=$(cpu_seconds "$logs/.$name.times")
    local result=passed
    [[ $status == 0 ]] || result=failed
    echo "$result $((SECONDS - t0)) $((cpu1 - cpu0))" >"$logs/$name.result"
    echo "$(clock) $name: $result ($((SECONDS - t0)) s wall, $((cpu1 - cpu0)) s processor)"
    # The test runners' own closing lines.
    grep -E '^[0-9]+% tests passed|^fuzz_[a-z_]+: #|^test-packages: |end-to-end stage: ' "$logs/$name.log" |
        sed "s/^/      $name: /" || true
}

# A lane takes the first stage that nobody has taken and whose stages are all done, until none is left.
lane() {
    local entry name
    while true; do
        local waiting=0 ran=0
        for entry in "${stages[@]}"; do
            read -r -a words <<<"$entry"
            name=${words[0]}
            [[ ! -e $logs/$name.taken ]] || continue
            local ready=1
            for need in "${words[@]:2}"; do
                [[ -e $logs/$need.result ]] || ready=0
            done
            if ((ready == 0)); then
                waiting=1
                continue
            fi
            mkdir "$logs/$name.taken" 2>/dev/null || continue # another lane took it first
            run_stage "${words[@]}"
            ran=1
            break
        done
        ((ran == 1)) && continue
        ((waiting == 1)) || return 0
        sleep 2
    done
}

echo "$(clock) running ${#stages[@]} stages, $lanes at a time; logs in $logs"
pids=()
for ((i = 0; i < lanes; i++)); do
    lane &
    pids+=($!)
done
for pid in "${pids[@]}"; do
    wait "$pid"
done

passed=0
failed=0
printf '\n%-14s %-8s %8s %8s\n' stage result wall processor
for entry in "${stages[@]}"; do
    read -r name _ <<<"$entry"
    read -r result wall cpu <"$logs/$name.result"
    printf '%-14s %-8s %6s s %6s s\n' "$name" "$result" "$wall" "$cpu"
    if [[ $result == passed ]]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
    fi
done
echo "all stages: $((SECONDS - began)) s wall"
for entry in "${stages[@]}"; do
    read -r name _ <<<"$entry"
    if [[ $(cut -d' ' -f1 "$logs/$name.result") == failed ]]; then
        echo
        echo "==== $name failed; its log ($logs/$name.log, without the build's progress lines):"
        grep -vE '^\[[0-9]+/[0-9]+\] ' "$logs/$name.log" || true
    fi
done
echo "stages: $passed passed, $failed failed"
((failed == 0))
