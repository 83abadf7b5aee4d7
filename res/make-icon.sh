#!/usr/bin/env bash
# Draws the program icon (a page with a red "PDF" band) at 32x32 and 16x16 and writes
# PsZuPdf.ico next to this script. Pixel art without antialiasing, so both sizes stay crisp.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Prints "point x,y" draw commands for the 'X' cells of a glyph whose top left is x0,y0.
glyph() { # x0 y0 rows...
    local x0=$1 y0=$2 y row x
    shift 2
    y=$y0
    for row in "$@"; do
        for ((x = 0; x < ${#row}; x++)); do
            [ "${row:x:1}" = X ] && printf 'point %d,%d ' $((x0 + x)) "$y"
        done
        y=$((y + 1))
    done
}

big_letters="$(glyph 6 13 XXXX. X...X X...X XXXX. X.... X.... X....)"
big_letters+="$(glyph 13 13 XXXX. X...X X...X X...X X...X X...X XXXX.)"
big_letters+="$(glyph 20 13 XXXXX X.... X.... XXXX. X.... X.... X....)"

convert -size 32x32 xc:none +antialias \
    -fill white -stroke '#404040' -draw 'polygon 5,1 20,1 26,7 26,30 5,30' \
    -fill '#d8d8d8' -draw 'polygon 20,1 20,7 26,7' \
    -stroke '#a0a0a0' -draw 'line 8,4 17,4' -draw 'line 8,7 17,7' \
    -draw 'line 8,24 23,24' -draw 'line 8,27 23,27' \
    -fill '#c80000' -stroke '#780000' -draw 'rectangle 2,11 29,21' \
    -stroke none -fill white -draw "$big_letters" \
    "PNG32:$work/icon32.png"

small_letters="$(glyph 2 6 XX. X.X XX. X.. X..)"
small_letters+="$(glyph 6 6 XX. X.X X.X X.X XX.)"
small_letters+="$(glyph 10 6 XXX X.. XX. X.. X..)"

convert -size 16x16 xc:none +antialias \
    -fill white -stroke '#404040' -draw 'polygon 2,0 10,0 13,3 13,15 2,15' \
    -fill '#d8d8d8' -draw 'polygon 10,0 10,3 13,3' \
    -fill '#c80000' -stroke '#780000' -draw 'rectangle 0,5 15,11' \
    -stroke none -fill white -draw "$small_letters" \
    "PNG32:$work/icon16.png"

convert "$work/icon32.png" "$work/icon16.png" "$here/PsZuPdf.ico"
