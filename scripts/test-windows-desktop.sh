#!/usr/bin/env bash
# The Windows desktop program as a user gets it: builds it (scripts/build-windows.sh), packs the installer
# (scripts/package-windows.sh), installs it silently into a scratch Wine prefix, runs the installed terrix.exe's
# screenshot tour on a virtual X server, against the built-in simulated bus and against terrix-sim mapped as
# COM1, in English and German, and uninstalls it silently again.
# Usage: scripts/test-windows-desktop.sh [LINUX_BUILD_DIR]   (default $TERRIX_TEST_BUILD_DIR or build-test, which
# must hold a built terrix-sim; when it also holds terrix, its tour names the pictures expected).
# The Windows build goes to $TERRIX_WINDOWS_DESKTOP_BUILD_DIR or build-windows-desktop; the pictures stay in its
# tour-sim/ and tour-com1/. Needs the Windows Qt of scripts/build-qt-windows.sh (one line says when it is
# not there, and the script ends with status 0).
set -euo pipefail
cd "$(dirname "$0")/.."
linux=${1:-${TERRIX_TEST_BUILD_DIR:-build-test}}
win=${TERRIX_WINDOWS_DESKTOP_BUILD_DIR:-build-windows-desktop}
qt=$(scripts/build-qt-windows.sh --print-prefix)
if [ ! -f "$qt/.complete" ]; then
    echo "test-windows-desktop: skipped: no Windows Qt in $qt (scripts/build-qt-windows.sh builds it)"
    exit 0
fi
[ -x "$linux/bin/terrix-sim" ] || { echo "test-windows-desktop: $linux/bin/terrix-sim is not built" >&2; exit 1; }
start=$(date +%s)
fail() { echo "test-windows-desktop: FAILED: $*" >&2; exit 1; }

mkdir -p "$win"
TERRIX_WINDOWS_TARGETS="terrix terrix-cli" scripts/build-windows.sh "$win" >"$win/desktop-build.log" 2>&1 ||
    { tail -40 "$win/desktop-build.log"; fail "build"; }
packages=$(scripts/package-windows.sh "$win")
setup=$(printf '%s\n' "$packages" | grep -- '-setup\.exe$') || fail "no installer made"
[ -f "$win/bin/terrix.exe" ] || fail "terrix.exe was not built"
echo "installer: $setup ($(du -k "$setup" | cut -f1) kB)"

# --- a scratch prefix, a virtual screen ------------------------------------------------------------------------
export WINEPREFIX=$PWD/$win/wine-desktop
export WINEDEBUG=-all
# No Mono or Gecko set-up dialogs in a fresh prefix: the program needs neither.
export WINEDLLOVERRIDES="mscoree=;mshtml="
sim_pid=
xvfb_pid=
cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
wineserver -k 2>/dev/null || true
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
# A screen of common size, as the Linux tour's.
exec 8< <(Xvfb -displayfd 1 -screen 0 1920x1080x24 -nolisten tcp 2>/dev/null)
xvfb_pid=$!
read -r -t 20 display <&8 || fail "Xvfb did not start"
export DISPLAY=:$display
wineboot -i >/dev/null 2>&1 || true
wineserver -w

# --- silent installation ---------------------------------------------------------------------------------------
wine "$setup" /S
wineserver -w
program="$WINEPREFIX/drive_c/Program Files/Terrix"
[ -f "$program/bin/terrix.exe" ] || fail "the installer put no terrix.exe into $program/bin"
[ -f "$program/bin/terrix-cli.exe" ] || fail "the installer put no terrix-cli.exe into $program/bin"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Terrix'
wine reg query "$uninstall_key" /v UninstallString >/dev/null 2>&1 || fail "no uninstall entry in $uninstall_key"
[ -f "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Terrix.lnk" ] || fail "no Start-menu entry"
echo "installed: $(cd "$program" && find . -type f | wc -l) files"

# --- the tours ---------------------------------------------------------------------------------------------------
# The pictures a Linux tour makes, by name: the Linux build's own tour when there is one, else the list in
# $TERRIX_TOUR_EXPECTED (one name a line) when given.
expected=$win/tour-expected.txt
rm -f "$expected"
if [ -n "${TERRIX_TOUR_EXPECTED:-}" ]; then
    LC_ALL=C sort "$TERRIX_TOUR_EXPECTED" >"$expected"
elif [ -x "$linux/bin/terrix" ]; then
    scripts/screenshots.sh "$linux/bin/terrix" "$win/tour-linux" >"$win/tour-linux.log" 2>&1 ||
        { tail -20 "$win/tour-linux.log"; fail "the Linux tour"; }
    (cd "$win/tour-linux" && ls ./*.png) | sed 's|^\./||' | LC_ALL=C sort >"$expected"
fi

# tour NAME COM1-DEVICE: the installed program's tour in a fresh data folder, whose COM1 is the device.
tour() {
    local name=$1 device=$2
    local out=$PWD/$win/tour-$name data=$PWD/$win/tour-data/North field
    rm -rf "$out" "$data"
    mkdir -p "$out" "$data"
    printf '[Serial ports]\r\nCOM1=%s\r\n' "$device" >"$data/Terrix.ini"
    local began=$SECONDS rc=0
    LANG=en_US.UTF-8 timeout 900 wine "C:\\Program Files\\Terrix\\bin\\terrix.exe" --data-dir "Z:$data" \
        --screenshots "Z:$out" >"$out.log" 2>&1 || rc=$?
    [ "$rc" -eq 0 ] || { tail -20 "$out.log"; fail "the $name tour ended with status $rc"; }
    local count
    count=$(find "$out" -name '*.png' | wc -l)
    echo "tour against $device: $count pictures in $((SECONDS - began)) s"
    for language in en de; do
        [ -s "$out/main_$language.png" ] || fail "the $name tour made no main_$language.png"
    done
    if [ -f "$expected" ]; then
        (cd "$out" && ls ./*.png) | sed 's|^\./||' | LC_ALL=C sort | diff -u "$expected" - >"$out.diff" ||
            { cat "$out.diff"; fail "the $name tour's pictures differ from the Linux tour's"; }
    fi
}
tour sim sim

# --- the end of a session ----------------------------------------------------------------------------------------
# Windows ends the program once it has answered WM_ENDSESSION: it must go by itself within seconds, and the
# lock file it leaves must not keep the next start from opening its main window.
session=$PWD/$win/tour-data/session
rm -rf "$session"
mkdir -p "$session"
printf '[Serial ports]\r\nCOM1=sim\r\n' >"$session/Terrix.ini"
# The main window: titled "Terrix", larger than a message box such as "Activating already started application".
main_window_up() {
    local w
    for w in $(xdotool search --onlyvisible --name '^Terrix$' 2>/dev/null); do
        [ "$(xdotool getwindowgeometry --shell "$w" | sed -n 's/^WIDTH=//p')" -ge 500 ] && return 0
    done
    return 1
}
# start_and_end_session WHAT: starts the installed program on the session folder, waits for its main window,
# ends the session and waits for the program to end.
start_and_end_session() {
    LANG=en_US.UTF-8 wine "C:\\Program Files\\Terrix\\bin\\terrix.exe" --data-dir "Z:$session" \
        >>"$win/session-end.log" 2>&1 &
    local pid=$! began=$SECONDS
    for _ in $(seq 240); do main_window_up && break; sleep 0.5; done
    main_window_up || fail "$1: no main window within $((SECONDS - began)) s"
    began=$SECONDS
    wine wineboot --end-session >>"$win/session-end.log" 2>&1 || true
    for _ in $(seq 60); do kill -0 "$pid" 2>/dev/null || break; sleep 0.5; done
    ! kill -0 "$pid" 2>/dev/null || fail "$1: terrix.exe still runs $((SECONDS - began)) s after the session ended"
    echo "session end, $1: the program ended within $((SECONDS - began)) s"
}
start_and_end_session "first start"
[ -f "$session/Terrix.lock" ] && echo "session end: the lock file stays, as Windows ends the program"
start_and_end_session "started again"

# terrix-sim's pseudo-terminal as COM1: Wine takes the device of COMn from HKLM\Software\Wine\Ports.
link=$WINEPREFIX/COM1-sim
wine reg add 'HKLM\Software\Wine\Ports' /v COM1 /d "$link" /f >/dev/null 2>&1
wineserver -k || true
wineserver -w || true
"$linux/bin/terrix-sim" --link "$link" >"$win/terrix-sim.log" 2>&1 &
sim_pid=$!
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
[ -e "$link" ] || fail "terrix-sim made no $link"
tour com1 COM1
kill "$sim_pid" 2>/dev/null || true
sim_pid=

# --- silent removal ----------------------------------------------------------------------------------------------
# The uninstaller runs from a copy of itself in the temporary folder; wineserver -w waits for it.
wine "C:\\Program Files\\Terrix\\uninstall.exe" /S
wineserver -w
left=$(find "$program" -mindepth 1 2>/dev/null | head -n 20 || true)
[ -z "$left" ] || fail "the uninstaller left in the program folder: $left"
if wine reg query "$uninstall_key" >/dev/null 2>&1; then
    fail "the uninstall entry is still there"
fi
[ ! -e "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Terrix.lnk" ] ||
    fail "the Start-menu entry is still there"
echo "Windows desktop stage passed in $(($(date +%s) - start)) s"
