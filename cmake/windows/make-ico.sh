#!/bin/sh
# Packs PNG pictures into one Windows icon file (.ico), each picture stored as PNG, as Windows Vista and later
# read them. Usage: make-ico.sh OUT.ico SIZE:FILE.png...   (SIZE in pixels, square, 1..256)
# The program's icon resource is made from the committed hicolor PNGs, so no image tool is needed.
set -eu
out=$1
shift
# Little-endian bytes of a number, as printf escapes.
le16() { printf "\\$(printf %03o $(($1 & 255)))\\$(printf %03o $(($1 >> 8 & 255)))"; }
le32() { le16 $(($1 & 65535)); le16 $(($1 >> 16 & 65535)); }
count=$#
tmp=$out.tmp
{
    le16 0; le16 1; le16 "$count"           # reserved, type 1 = icon, number of pictures
    offset=$((6 + 16 * count))
    for item in "$@"; do
        size=${item%%:*}
        file=${item#*:}
        bytes=$(wc -c <"$file")
        [ "$size" -ge 1 ] && [ "$size" -le 256 ] || { echo "make-ico.sh: bad size $size" >&2; exit 1; }
        printf "\\$(printf %03o $((size & 255)))\\$(printf %03o $((size & 255)))" # 256 is written as 0
        printf '\000\000'                     # no palette, reserved
        le16 1; le16 32                       # planes, bits per pixel
        le32 "$bytes"; le32 "$offset"
        offset=$((offset + bytes))
    done
    for item in "$@"; do
        cat "${item#*:}"
    done
} >"$tmp"
mv "$tmp" "$out"
