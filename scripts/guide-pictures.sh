#!/usr/bin/env bash
# Renews the pictures of docs/guide.md from the desktop program's screenshot tour (English pictures on the
# built-in simulated bus), made small with pngquant (256 colours at most; skipped where it does not pay).
#   scripts/guide-pictures.sh [terrix executable]
# Fails when a picture the guide shows was not made by the tour (a renamed or removed step).
set -euo pipefail
cd "$(dirname "$0")/.."
exe=${1:-build/bin/terrix}
command -v pngquant >/dev/null || { echo "needs pngquant (scripts/setup-debian.sh installs it)" >&2; exit 1; }

shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
scripts/screenshots.sh "$exe" "$shots" >"$shots/tour.log" 2>&1 || { cat "$shots/tour.log"; exit 1; }

out=docs/images
mkdir -p "$out"
rm -f "$out"/*.png
missing=0
for name in $(grep -o 'images/[a-z0-9_]*\.png' docs/guide.md | sed 's|images/||; s|\.png$||' | sort -u); do
    if [ ! -s "$shots/${name}_en.png" ]; then
        echo "the tour made no picture ${name}_en.png" >&2
        missing=1
        continue
    fi
    pngquant --quality 60-95 --speed 1 --strip --skip-if-larger --output "$out/$name.png" \
        "$shots/${name}_en.png" || cp "$shots/${name}_en.png" "$out/$name.png"
done
[ "$missing" = 0 ] || exit 1
echo "$(ls "$out" | wc -l) pictures, $(du -ck "$out"/*.png | tail -1 | cut -f1) kB in $out"
