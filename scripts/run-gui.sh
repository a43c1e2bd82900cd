#!/usr/bin/env bash
# Builds the desktop program and starts it on a demo data directory whose COM1 is the built-in virtual bus,
# so the program has a bus to talk to without hardware. Arguments go on to terrix.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TERRIX_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DTERRIX_BUILD_GUI=ON >/dev/null
cmake --build "$build" --target terrix
data=${TERRIX_DEMO_DATA_DIR:-$build/demo-data}
mkdir -p "$data"
# COM1 on the virtual bus, unless the demo settings already say where the ports are.
if ! grep -qi '^\[Serial ports\]' "$data/Terrix.ini" 2>/dev/null; then
    printf '[Serial ports]\nCOM1=sim\n' >>"$data/Terrix.ini"
fi
# Without a display (a headless machine, an ssh session without forwarding) Qt cannot open a window: say so,
# and run on a virtual X server so that the program still starts and can be driven, e.g. by its tour.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display (DISPLAY is not set): starting Terrix on a virtual X server, where it is not visible." >&2
    echo "Log in with a desktop session or use 'ssh -X' to see the window." >&2
    exec xvfb-run -a "$build/bin/terrix" --data-dir "$data" "$@"
fi
exec "$build/bin/terrix" --data-dir "$data" "$@"
