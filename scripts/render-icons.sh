#!/usr/bin/env bash
# Renders the program icon res/icons/hicolor/de.orva.Terrix.svg into the PNG sizes of the hicolor icon theme
# (res/icons/hicolor/<N>x<N>/apps/), which are committed so that a build needs no SVG renderer.
# Needs rsvg-convert (librsvg2-bin) and pngquant, both installed by scripts/setup-debian.sh.
set -euo pipefail
cd "$(dirname "$0")/../res/icons/hicolor"
command -v rsvg-convert >/dev/null && command -v pngquant >/dev/null || { echo "needs rsvg-convert and pngquant" >&2; exit 1; }
svg=de.orva.Terrix.svg
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "${size}x${size}/apps"
    png="${size}x${size}/apps/de.orva.Terrix.png"
    rsvg-convert -w "$size" -h "$size" "$svg" -o "$png"
    pngquant --force --skip-if-larger --strip --quality 70-100 --output "$png" "$png" || true
done
ls -l ./*/apps/*.png
