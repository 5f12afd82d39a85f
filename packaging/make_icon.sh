#!/bin/sh
# Draws the program's X pixmap icon as a PNG of one size for the desktop's icon theme.
# Usage: make_icon.sh ICON.xpm SIZE OUT.png
set -eu
xpm=$1 size=$2 out=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# xpmtoppm reads only the classic C form: no "const", no comment after the first line.
sed -e '1!{/^\/\*.*\*\/$/d}' -e 's/static const char/static char/' "$xpm" |
    xpmtoppm --alphaout="$work/mask.pbm" >"$work/icon.ppm"
pnmtopng -alpha="$work/mask.pbm" "$work/icon.ppm" >"$work/icon.png"
# Enlarged, each pixel stays a sharp square; made smaller, neighbours are mixed.
filter=
[ "$size" -ge 32 ] && filter="-filter point"
# shellcheck disable=SC2086
pngtopam -alphapam "$work/icon.png" | pamscale -width "$size" -height "$size" $filter |
    pamrgbatopng >"$work/out.png"
mv "$work/out.png" "$out"
