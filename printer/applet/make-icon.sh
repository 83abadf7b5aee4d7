#!/usr/bin/env bash
# Draws the applet's icon (a printer with a sheet coming out of it) at 32x32 and 16x16
# and writes Quillon.ico next to this script. No antialiasing, so both sizes stay crisp.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

convert -size 32x32 xc:none +antialias \
    -fill white -stroke '#404040' -draw 'rectangle 9,2 22,12' \
    -fill '#707070' -stroke '#303030' -draw 'rectangle 3,11 28,24' \
    -fill '#a0a0a0' -stroke none -draw 'rectangle 4,12 27,14' \
    -fill '#40c040' -draw 'rectangle 23,17 25,18' \
    -fill white -stroke '#404040' -draw 'rectangle 8,20 23,30' \
    -stroke '#c02020' -draw 'line 11,24 20,24' -draw 'line 11,27 18,27' \
    "$work/32.png"
convert -size 16x16 xc:none +antialias \
    -fill white -stroke '#404040' -draw 'rectangle 4,0 11,6' \
    -fill '#707070' -stroke '#303030' -draw 'rectangle 1,5 14,12' \
    -fill white -stroke '#404040' -draw 'rectangle 4,10 11,15' \
    -stroke '#c02020' -draw 'line 6,12 9,12' \
    "$work/16.png"
convert "$work/32.png" "$work/16.png" "$here/Quillon.ico"
