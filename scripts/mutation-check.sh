#!/usr/bin/env bash
# Puts deliberate faults into the core one at a time and checks that the test suite fails on each.
#
# Every fault is one exact Perl substitution on one file; a substitution that no longer matches is reported
# as "stale" (the code moved on: update the line here). The file is restored after every fault, also when
# the script is interrupted. Runs in a separate plain Debug build (no sanitizers, no desktop program) and
# runs every ctest entry except the desktop ones. With --gui it puts the faults of the desktop program
# instead, in a build with the desktop program (default build-mut-gui), and runs the desktop ctest entries.
#
#   scripts/mutation-check.sh            all faults
#   scripts/mutation-check.sh 3 7        only faults 3 and 7
#   scripts/mutation-check.sh --gui 2    only fault 2 of the desktop program
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
    "coefficient tolerance one decade wider|test_config|core/config/calib_compare.cpp|s/return diff <= std::pow\(10\.0, n\) \* 1e-6;/return diff <= std::pow(10.0, n) * 1e-5;/"
    "seconds rounded down instead of to the nearest|test_config|core/config/app_params.cpp|s/std::floor\(x \+ 0\.5\)/std::floor(x)/"
    "plot page forward one value too far|test_measure|core/measure/plot_navigation.cpp|s/std::min\(first \+ spp, last\)/std::min(first + spp + 1, last)/"
    "bus list full one record early|test_inventory|core/inventory/bus_list.h|s/return count_ >= kCapacity;/return count_ >= kCapacity - 1;/"
    "module file reads analog config 0 whatever its flag|test_inventory|core/inventory/module_file.cpp|s/(ReadStationInfo\(ini, record\.stationInfo\);\n    )if \(record\.bHasAnalogCfg0\) \{/\$1if (true) {/"
    "XV temperature ID stored as the material ID|test_measure|core/measure/measuring_step.cpp|s/record\.SetWord\(kXvTempId, tempId\);/record.SetWord(kXvTempId, matId);/"
    "erase keeps the ASCII file|test_measure|core/measure/meas_value_store.cpp|s/const bool text = RemoveFile\(AsciiPath\(\)\);/const bool text = true;/"
    "local time stamp one month late|test_measure|core/measure/time_stamp.cpp|s/local\.tm_mon \+ 1\)/local.tm_mon + 2)/"
    "settings byte saturates instead of wrapping|test_platform|core/platform/ini_section.cpp|s/static_cast<uint8_t>\(v & 0xFFu\)/static_cast<uint8_t>(v > 0xFFu ? 0xFFu : v)/"
    "serial port opened without its lock|test_platform|core/platform/serial_transport_posix.cpp|s/if \(::flock\(fd, LOCK_EX \| LOCK_NB\) != 0\) \{/if (false) {/"
    "scan starts at station 251|test_busops|core/busops/station_sequence.h|s/uint32_t current_ = 252;/uint32_t current_ = 251;/"
    "scan forgets the disabled flag|test_busops|core/busops/bus_scan.cpp|s/record->bDisabled = previous->bDisabled;/(void)previous;/"
    "missing lock around a settings write|test_platform|core/platform/ini_section.cpp|s/    FileLock processLock\(file_\);\n//"
    "port reservation ignored on open|test_platform|core/platform/port_user.cpp|s/if \(HeldByOther\(\*context_, this\)\) \{\n        context_->dwError = kErrorPortReserved;\n        return false;\n    \}//"
    "data directory from the environment ignored|test_platform|core/platform/data_paths.cpp|s/(TERRIX_DATA_DIR.\); )!env\.empty\(\)/\$1false \&\& !env.empty()/"
    "lost stop request|test_circuit|core/circuit/meas_loop.cpp|s/(void CMeasLoop::Stop\(\) \{.*?)stopPending_ = true;/\$1/s"
    "periodic wait one period too long|test_circuit|core/circuit/loop_timer.cpp|s/uint64_t nextUs = clock_\.NowUs\(\) \+ periodUs_;/uint64_t nextUs = clock_.NowUs() + 2 * periodUs_;/"
    "simulator: set-station moves every module|test_busops|sim/virtual_module.cpp|s/GetU16\(r\.data, 0\) == state_\.info\.serialNo && //"
    "simulator: sensor resolution one decade off|test_busops|sim/virtual_module.cpp|s/block\[5\] = static_cast<uint8_t>\(resolution\.exponent\);/block[5] = static_cast<uint8_t>(resolution.exponent + 1);/"
    "simulator: start-up baud at the time-out offset|test_busops|sim/virtual_module.cpp|s/PutU16\(data, 6, info\.startupBaud\);/PutU16(data, 8, info.startupBaud);/"
    "busy module not asked a second time|test_busops|core/busops/identification.cpp|s/(if \(LastBusError\(\) == kBusBusy\) \{\n)        step\(\);\n/\$1/"
    "rescan forgets the user's disabled switch|test_busops|core/busops/identification.cpp|s/fresh\.bDisabled = record\.bDisabled;//"
    "collision moved to station 0|test_busops|core/busops/collisions.cpp|s/kFirstFreeCandidate = 1;/kFirstFreeCandidate = 0;/"
    "failed count write leaves raw mode|test_busops|core/busops/conversion_count.cpp|s/(const uint16_t error = LastBusError\(\);\n)        WriteAnalogCfg\(port, station, restore\);\n/\$1/"
    "XV module triggered like a probe|test_circuit|core/circuit/meas_loop.cpp|s/ \|\| r\.bIsTavikButNotXV == 0\)/)/"
    "station name terminated one byte late|test_bus|core/bus/commands.cpp|s/StationInfo::kOffsetName \+ block\[/StationInfo::kOffsetName + 1 + block[/"
    "a port reservation holds every port context|test_circuit|core/platform/port_user.cpp|s/if \(r\.context == &context\) \{/if (r.context == &context || r.owner != nullptr) {/"
)

# The desktop program's faults (same format; the test tried first is a QtTest program, tst_<window>).
gui_faults=(
    "bus commands enabled while the loop runs|tst_circuit_window|gui/circuit/circuit_rules.cpp|s/(case CircuitRun::kLoop:\n        c\.measLoop = true;\n)        return c;/\$1        break;/"
    "circuit list shows the station as serial|tst_circuit_window|gui/circuit/meas_circuit_model.cpp|s/(case kColSerial:\n        return QString::number\()record\.SerialNo\(\)/\$1record.iaStation/"
    "traffic list takes the station from byte 1|tst_bus_dialogs|gui/busops/traffic_monitor.cpp|s/return named \? QString::number\(header\[0\]\)/return named ? QString::number(header[1])/"
    "windows miss the language switch|tst_toolkit_controls|gui/toolkit/language_change.cpp|s/event->type\(\) == QEvent::LanguageChange/event->type() == QEvent::FontChange/"
    "bus job keeps the bus while its result is shown|tst_bus_job|gui/base/bus_job.cpp|s/(        activity_\.reset\(\);\n)(        if \(done\) \{\n            done\(\);\n        \}\n)/\$2\$1/"
    "queued calls outlive their window|tst_toolkit_controls|gui/toolkit/queued_adapters.cpp|s/(#include \"gui\/toolkit\/queued_adapters.h\"\n)/\$1#include <QCoreApplication>\n/; s/invokeMethod\(receiver_,/invokeMethod(QCoreApplication::instance(),/"
    "Error66 limit written when unchanged|tst_config_dialogs|gui/config/error66_dlg.cpp|s/if \(!readOk_ \|\| std::fabs\(percent - now_\) < 1e-9\)/if (!readOk_)/"
    "value list scrolls one row short|tst_meas_value_dlg|gui/measure/meas_value_list.cpp|s/top_ = record - RowsPerPage\(\) \+ 1;/top_ = record - RowsPerPage();/"
    "value window layout keyed by station|tst_meas_value_dlg|gui/measure/meas_value_dlg.cpp|s/section_\(MeasValueLayoutSection\(serialNo_\)\)/section_(MeasValueLayoutSection(record.iaStation))/"
    "placement top saved under the bottom key|tst_placement_dialog|gui/toolkit/placement_dialog.cpp|s/ini\.WriteDouble\(\"Window Top\"/ini.WriteDouble(\"Window Bottom\"/"
    "number field refuses its maximum|tst_toolkit_controls|gui/toolkit/edit_integer.cpp|s/if \(value > this->max_\)/if (value >= this->max_)/"
    "redraw lock not counted|tst_placement_dialog|gui/toolkit/report_list_ctrl.cpp|s/\+\+redrawLock_;\n        return;/redrawLock_ = 1;\n        return;/"
    "frame commands ignore a bus activity|tst_main_frame|gui/frame/main_frame.cpp|s/(return;\n    \}\n)    UpdateCommandStates\(\);\n(    if \(!busy\) \{)/\$1\$2/"
    "station move goes on past a failed module check|tst_bus_dialogs|gui/busops/station_number_dlg.cpp|s/if \(outcome\.check\.Passed\(\)\) \{/if (true) {/; s/if \(!ShowStationCheck\(this, outcome\.check\)\) \{\n        return false;\n    \}/(void)ShowStationCheck(this, outcome.check);/"
    "value window layout under another section name|tst_meas_value_dlg|gui/measure/meas_value_dlg.cpp|s/\"Layout for \" \+ std::to_string/\"Layout \" + std::to_string/"
    "Ctrl+V pastes without the check|tst_toolkit_controls|gui/toolkit/edit_num.cpp|s/    if \(event->matches\(QKeySequence::Paste\)\) \{\n        Paste\(\);\n        event->accept\(\);\n        return;\n    \}\n//"
    "a modal window stays open while its window closes|tst_session_end|gui/toolkit/modal_run.cpp|s/guard->reject\(\);/(void)guard;/"
)
# Which faults, which build and which ctest entries.
suite=(-E '^gui_')
test_prefix=""
targets=()
if [[ ${1:-} == --gui ]]; then
    shift
    faults=("${gui_faults[@]}")
    build=${TERRIX_MUTATION_BUILD_DIR:-build-mut-gui}
    suite=(-R '^gui_')
    test_prefix="gui_"
    targets=(--target gui/all tests/gui/all) # the core's test programs are not run
fi
gui_option=$([[ $test_prefix == gui_ ]] && echo ON || echo OFF)

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
        -DCMAKE_BUILD_TYPE=Debug -DTERRIX_BUILD_GUI=$gui_option -DTERRIX_BUILD_BENCH=OFF >/dev/null || exit 1
fi
echo "baseline build ..."
nice cmake --build "$build" -j"$jobs" "${targets[@]}" >"$backup/build.log" 2>&1 || { cat "$backup/build.log"; exit 1; }
# A fault only counts as caught if the suite passes without it.
start=$(date +%s)
if ! nice ctest --test-dir "$build" "${suite[@]}" -j"$jobs" --timeout 600 >"$backup/ctest.log" 2>&1; then
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
    if [[ ! -f $file ]]; then # the code moved to another file: update the entry here
        results+=("$(printf '%2d  %-48s %-34s %s' "$n" "$name" "$file" "stale (no such file)")")
        missed=$((missed + 1))
        continue
    fi
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
        elif ! GTEST_FAIL_FAST=1 nice ctest --test-dir "$build" -R "^$test_prefix$first\$" --timeout 600 \
                >"$backup/ctest.log" 2>&1; then
            result="caught ($first) $(($(date +%s) - start))s"
        elif ! nice cmake --build "$build" -j"$jobs" "${targets[@]}" >"$backup/build.log" 2>&1; then
            result="build fails"
            missed=$((missed + 1))
        elif GTEST_FAIL_FAST=1 nice ctest --test-dir "$build" "${suite[@]}" -j"$jobs" --stop-on-failure \
                --timeout 600 >"$backup/ctest.log" 2>&1; then
            result="MISSED"
            missed=$((missed + 1))
        else
            failing=$(grep -oE '(gui_)?(test|tst)_[A-Za-z0-9_.]+ \.+\*+(Failed|Timeout|Exception)' "$backup/ctest.log" |
                      awk '{print $1}' | sort -u | paste -sd, -)
            result="caught (${failing:-see log}) $(($(date +%s) - start))s"
        fi
    fi
    restore
    results+=("$(printf '%2d  %-48s %-34s %s' "$n" "$name" "$file" "$result")")
done
# Leave the build matching the sources again.
nice cmake --build "$build" -j"$jobs" "${targets[@]}" >/dev/null 2>&1

printf '\n %s  %-48s %-34s %s\n' "#" "fault" "file" "result"
printf '%s\n' "${results[@]}"
echo "not caught: $missed"
[[ $missed -eq 0 ]]
