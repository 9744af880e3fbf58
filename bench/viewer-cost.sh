#!/bin/bash
# The image viewer's figures under Wine: command to drawn picture, memory and objects.
# Usage: bench/viewer-cost.sh <path-to-tivlo_viewerbench.exe> [RUNS]
# Generates its pictures with ImageMagick (fixed seeds) in a scratch folder.
set -u
here=$(dirname "$(readlink -f "$0")")
. "$here/../smoke/lib.sh"
wine_hide_32bit "$0" "$@"

[ $# -ge 1 ] && [ $# -le 2 ] || { echo "usage: $0 <path-to-tivlo_viewerbench.exe> [RUNS]" >&2; exit 2; }
wine_setup "$1" || exit 2
pics=$SMOKE_TMP/pics
mkdir -p "$pics"
for i in 1 2 3; do
    convert -seed $i -size 4000x3000 plasma:fractal -quality 90 "$pics/big$i.jpg"
done
convert -seed 4 -size 2000x1500 xc:none -fill '#3366cc80' -draw 'circle 1000,750 1000,100' \
    -fill '#cc3333' -draw 'rectangle 100,100 600,500' "PNG32:$pics/alpha.png"
convert -size 40x30 xc:navy "BMP3:$pics/small.bmp"
ls -l "$pics"
(cd "$SMOKE_EXE_DIR" && wine_t 900 "$SMOKE_EXE" "$(win_path "$pics")" "${2:-20}") | tr -d '\r'
rc=${PIPESTATUS[0]}
echo "exit code $rc"
exit "$rc"
