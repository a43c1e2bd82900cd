#!/usr/bin/env bash
# Starts terrix on a virtual X server (Xvfb) and lets it save screenshots of the main frame, its Bus menu and
# the about box, in English and in German, into a folder.
#   scripts/screenshots.sh [terrix executable] [output folder]
# Exit status 0 when every picture was saved, 77 when no virtual X server is available (the test then counts
# as skipped), anything else on failure.
set -euo pipefail
cd "$(dirname "$0")/.."
exe=${1:-build/bin/terrix}
out=${2:-build/screenshots}

if ! command -v xvfb-run >/dev/null 2>&1; then
    echo "xvfb-run not found (package xvfb); no screenshots taken" >&2
    exit 77
fi

out=$(mkdir -p "$out" && cd "$out" && pwd)
rm -f "$out"/*.png
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
# A fresh data directory: no stored language, COM1 on the built-in virtual bus.
printf '[Serial ports]\nCOM1=sim\n' >"$data/Terrix.ini"

# The tour ends the program itself; the time limit only guards against a hang.
LC_ALL=C.UTF-8 LANG=en_US.UTF-8 QT_QPA_PLATFORM=xcb \
    timeout 120 xvfb-run -a -s "-screen 0 1024x768x24" "$exe" --data-dir "$data" --screenshots "$out"

expected=(main_en.png bus_menu_en.png about_en.png main_de.png bus_menu_de.png about_de.png)
for name in "${expected[@]}"; do
    if [ ! -s "$out/$name" ]; then
        echo "missing screenshot: $out/$name" >&2
        exit 1
    fi
done
echo "screenshots in $out"
