#!/usr/bin/env bash
# Runs terrix's screenshot tour (every registered step, in English and in German) into a folder.
#   scripts/screenshots.sh [terrix executable] [output folder]
# The pictures are rendered by the widgets themselves on Qt's offscreen platform: no X server or window
# manager is needed. COM1 is the built-in simulated bus unless TERRIX_TOUR_COM1 names another device.
# Exit status 0 when every step worked.
set -euo pipefail
cd "$(dirname "$0")/.."
exe=${1:-build/bin/terrix}
out=${2:-build/screenshots}

out=$(mkdir -p "$out" && cd "$out" && pwd)
rm -f "$out"/*.png
# A fresh data directory with a fixed, plain name: pictures that show a path (a message, a file name) show
# this one, not a random temporary name. Runs on one machine take turns through the lock.
base=${TMPDIR:-/tmp}/terrix-tour
data="$base/North field"
mkdir -p "$base"
exec 9>"$base.lock"
flock 9
rm -rf "$data"
mkdir -p "$data"
trap 'rm -rf "$data"' EXIT
# No stored language.
printf '[Serial ports]\nCOM1=%s\n' "${TERRIX_TOUR_COM1:-sim}" >"$data/Terrix.ini"

# A screen of common size (the offscreen platform's own is 800 x 600): windows that size themselves to the
# screen on first open are pictured as a user sees them.
printf '{"screens": [{"name": "tour", "x": 0, "y": 0, "width": 1920, "height": 1080}]}\n' >"$data/screen.json"

# The tour ends the program itself; the time limit only guards against a hang.
LC_ALL=C.UTF-8 LANG=en_US.UTF-8 QT_QPA_PLATFORM="offscreen:configfile=$data/screen.json" \
    timeout 300 "$exe" --data-dir "$data" --screenshots "$out"

# The shell's pictures at least; every step's own failure already made the run fail.
for name in main_en.png bus_menu_en.png about_en.png main_de.png bus_menu_de.png about_de.png; do
    if [ ! -s "$out/$name" ]; then
        echo "missing screenshot: $out/$name" >&2
        exit 1
    fi
done
echo "screenshots in $out"
