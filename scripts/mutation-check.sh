#!/usr/bin/env bash
# Puts deliberate faults into the core one at a time and checks that the test suite fails on each.
#
# Every fault is one exact Perl substitution on one file; a substitution that no longer matches is reported
# as "stale" (the code moved on: update the line here). The file is restored after every fault, also when
# the script is interrupted. Runs in a separate plain Debug build (no sanitizers, no desktop program) and
# runs every ctest entry except the desktop ones.
#
#   scripts/mutation-check.sh            all faults
#   scripts/mutation-check.sh 3 7        only faults 3 and 7
#
# Environment: TERRIX_MUTATION_BUILD_DIR (default build-mut), TERRIX_MUTATION_JOBS (default 2).
set -uo pipefail
cd "$(dirname "$0")/.."
build=${TERRIX_MUTATION_BUILD_DIR:-build-mut}
jobs=${TERRIX_MUTATION_JOBS:-2}

# name | test tried first | file | perl substitution (applied with -0pe, so it may span lines)
faults=(
    "frame length without its checksum byte|test_bus|core/bus/frame.cpp|s/static_cast<uint8_t>\(data\.size\(\) \+ 1\)/static_cast<uint8_t>(data.size())/"
    "header checksum keeps bit 7|test_bus|core/bus/frame.cpp|s/return static_cast<uint8_t>\(sum & 0x7F\);/return static_cast<uint8_t>(sum & 0xFF);/"
    "data checksum off by one|test_bus|core/bus/frame.cpp|s/frame\.push_back\(static_cast<uint8_t>\(sum & 0xFF\)\);/frame.push_back(static_cast<uint8_t>((sum + 1) & 0xFF));/"
    "wait per sent byte 10 ms instead of 12|test_bus|core/bus/frame.cpp|s/kWaitPerSentByteMs = 12;/kWaitPerSentByteMs = 10;/"
    "no wait after a header checksum error|test_bus|core/bus/frame.cpp|s/kWaitAfterChecksumErrorMs = 110;/kWaitAfterChecksumErrorMs = 0;/"
    "inverted no-data check|test_bus|core/bus/frame.cpp|s/if \(expected > 0 && \(status & 0x07\) == 0\)/if (expected > 0 && (status & 0x07) != 0)/"
    "busy bit read from the wrong position|test_bus|core/bus/frame.cpp|s/\(status & 0x40\) != 0/(status & 0x20) != 0/"
    "request flag inverted|test_bus|core/bus/frame.cpp|s/\? 0 : 8;/? 8 : 0;/"
    "BCD digits in swapped nibble order|test_bus|core/bus/packed_decimal.cpp|s/\? static_cast<uint8_t>\(src\[byte\] >> 4\) : static_cast<uint8_t>\(src\[byte\] & 0x0F\)/? static_cast<uint8_t>(src[byte] & 0x0F) : static_cast<uint8_t>(src[byte] >> 4)/"
    "BCD sign read from the wrong bit|test_bus|core/bus/packed_decimal.cpp|s/if \(\(first & 0x08\) != 0\)/if ((first & 0x80) != 0)/"
    "scaled decimal off by a factor of ten|test_bus|core/bus/packed_decimal.cpp|s/static_cast<int>\(scale\) \+ 6\)/static_cast<int>(scale) + 7)/"
    "material calibration scale of coefficient 4|test_bus|core/bus/commands.cpp|s/\{0\.1, 1\.0, 10\.0, 100\.0, 1000\.0, 10000\.0\}/{0.1, 1.0, 10.0, 100.0, 100.0, 10000.0}/"
    "baud switch wait 40 ms instead of 400|test_bus|core/bus/commands.cpp|s/kBaudSwitchWaitMs = 400;/kBaudSwitchWaitMs = 40;/"
    "16-bit record value with swapped bytes|test_measure|core/measure/little_endian.h|s/return static_cast<uint16_t>\(p\[0\] \| \(p\[1\] << 8\)\);/return static_cast<uint16_t>(p[1] | (p[0] << 8));/"
    "file header channel mask at the wrong offset|test_measure|core/measure/meas_file_header.cpp|s/kOffChannelMask = 36;/kOffChannelMask = 32;/"
    "lost maximum update|test_measure|core/measure/bin_meas_data_file.cpp|s/header_\.maximum\[channel\] = value;\n//"
    "time stamp year field one bit off|test_measure|core/measure/time_stamp.cpp|s/\(stamp >> 9\) & 0x3Fu/(stamp >> 10) \& 0x3Fu/"
    "zero offset subtracted|test_measure|core/measure/measuring_step.cpp|s/\* sensor\.fResolution \+ sensor\.fZeroOffset/* sensor.fResolution - sensor.fZeroOffset/"
    "error fraction scaled by 10 instead of 100|test_measure|core/measure/measuring_step.cpp|s/errorFraction \* 100\.0f/errorFraction * 10.0f/"
    "standard deviation divides by n|test_measure|core/measure/measuring_step.cpp|s/s \* s \/ n\) \/ \(n - 1\)/s * s \/ n) \/ n/"
    "scan starts at station 251|test_busops|core/busops/station_sequence.h|s/uint32_t current_ = 252;/uint32_t current_ = 251;/"
    "scan forgets the disabled flag|test_busops|core/busops/bus_scan.cpp|s/record->bDisabled = previous->bDisabled;/(void)previous;/"
    "missing lock around a settings write|test_platform|core/platform/ini_section.cpp|s/(pendingDirty_ = true;\n        return true;\n    \}\n)    std::lock_guard lock\(FileUpdateMutex\(\)\);\n/\$1/"
    "port reservation ignored on open|test_platform|core/platform/port_user.cpp|s/if \(HeldByOther\(\*context_, this\)\) \{\n        context_->dwError = kErrorPortReserved;\n        return false;\n    \}//"
    "lost stop request|test_circuit|core/circuit/meas_loop.cpp|s/(void CMeasLoop::Stop\(\) \{.*?)stopPending_ = true;/\$1/s"
    "periodic wait one period too long|test_circuit|core/circuit/loop_timer.cpp|s/uint64_t nextUs = clock_\.NowUs\(\) \+ periodUs_;/uint64_t nextUs = clock_.NowUs() + 2 * periodUs_;/"
    "busy module not asked a second time|test_busops|core/busops/identification.cpp|s/(if \(LastBusError\(\) == kBusBusy\) \{\n)        step\(\);\n/\$1/"
    "rescan forgets the user's disabled switch|test_busops|core/busops/identification.cpp|s/fresh\.bDisabled = record\.bDisabled;//"
    "collision moved to station 0|test_busops|core/busops/collisions.cpp|s/kFirstFreeCandidate = 1;/kFirstFreeCandidate = 0;/"
    "failed count write leaves raw mode|test_busops|core/busops/conversion_count.cpp|s/(const uint16_t error = LastBusError\(\);\n)        WriteAnalogCfg\(port, station, restore\);\n/\$1/"
    "XV module triggered like a probe|test_circuit|core/circuit/meas_loop.cpp|s/ \|\| r\.bIsTavikButNotXV == 0\)/)/"
    "station name terminated one byte late|test_bus|core/bus/commands.cpp|s/StationInfo::kOffsetName \+ block\[/StationInfo::kOffsetName + 1 + block[/"
    "a port reservation holds every port context|test_circuit|core/platform/port_user.cpp|s/if \(r\.context == &context\) \{/if (r.context == &context || r.owner != nullptr) {/"
)

selected=("$@")
is_selected() {
    [[ ${#selected[@]} -eq 0 ]] && return 0
    local s
    for s in "${selected[@]}"; do [[ $s == "$1" ]] && return 0; done
    return 1
}

backup=$(mktemp -d)
current=""
restore() {
    if [[ -n $current ]]; then
        cp "$backup/original" "$current"
        current=""
    fi
}
trap 'restore; rm -rf "$backup"' EXIT
trap 'restore; exit 130' INT TERM

if [[ ! -f $build/build.ninja ]]; then
    CMAKE_CXX_COMPILER_LAUNCHER=ccache CMAKE_C_COMPILER_LAUNCHER=ccache cmake -S . -B "$build" -G Ninja \
        -DCMAKE_BUILD_TYPE=Debug -DTERRIX_BUILD_GUI=OFF -DTERRIX_BUILD_BENCH=OFF >/dev/null || exit 1
fi
echo "baseline build ..."
nice cmake --build "$build" -j"$jobs" >"$backup/build.log" 2>&1 || { cat "$backup/build.log"; exit 1; }
# A fault only counts as caught if the suite passes without it.
start=$(date +%s)
if ! nice ctest --test-dir "$build" -E '^gui_' -j"$jobs" --timeout 600 >"$backup/ctest.log" 2>&1; then
    cat "$backup/ctest.log"
    echo "the suite fails without any fault"
    exit 1
fi
echo "baseline suite passes ($(($(date +%s) - start))s)"

results=()
missed=0
for i in "${!faults[@]}"; do
    n=$((i + 1))
    is_selected "$n" || continue
    IFS='|' read -r name first file expr <<<"${faults[$i]}"
    cp "$file" "$backup/original"
    current=$file
    perl -0pi -e "$expr" "$file"
    if cmp -s "$file" "$backup/original"; then
        result="stale"
        missed=$((missed + 1))
    else
        echo "[$n] $name ..."
        start=$(date +%s)
        # The test folder that should notice is built and run first; only if it passes does the whole
        # suite run (relinking every test program for every fault is what takes the time).
        if ! nice cmake --build "$build" -j"$jobs" --target "$first" >"$backup/build.log" 2>&1; then
            result="build fails"
            missed=$((missed + 1))
        elif ! GTEST_FAIL_FAST=1 nice ctest --test-dir "$build" -R "^$first\$" --timeout 600 \
                >"$backup/ctest.log" 2>&1; then
            result="caught ($first) $(($(date +%s) - start))s"
        elif ! nice cmake --build "$build" -j"$jobs" >"$backup/build.log" 2>&1; then
            result="build fails"
            missed=$((missed + 1))
        elif GTEST_FAIL_FAST=1 nice ctest --test-dir "$build" -E '^gui_' -j"$jobs" --stop-on-failure \
                --timeout 600 >"$backup/ctest.log" 2>&1; then
            result="MISSED"
            missed=$((missed + 1))
        else
            failing=$(grep -oE 'test_[a-z0-9_]+ \.+\*+(Failed|Timeout|Exception)' "$backup/ctest.log" |
                      awk '{print $1}' | sort -u | paste -sd, -)
            result="caught (${failing:-see log}) $(($(date +%s) - start))s"
        fi
    fi
    restore
    results+=("$(printf '%2d  %-48s %-34s %s' "$n" "$name" "$file" "$result")")
done
# Leave the build matching the sources again.
nice cmake --build "$build" -j"$jobs" >/dev/null 2>&1

printf '\n %s  %-48s %-34s %s\n' "#" "fault" "file" "result"
printf '%s\n' "${results[@]}"
echo "not caught: $missed"
[[ $missed -eq 0 ]]
