#!/bin/sh
# Runs one Windows program under Wine for ctest: wine-run.sh PREFIX PROGRAM [ARGS...]. PREFIX is a scratch
# Wine prefix of the build's own (the user's ~/.wine is never touched), made on first use; Wine's own
# messages are off so that a test's output is the program's.
set -e
WINEPREFIX=$1
shift
export WINEPREFIX
export WINEDEBUG=-all
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    # ctest starts several tests at once; the lock lets exactly one of them create the prefix.
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            wineboot -i >/dev/null 2>&1 || true
            wineserver -w || true
        fi
    ) 9>"$WINEPREFIX.lock"
fi
exec wine "$@"
