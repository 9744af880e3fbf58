#!/bin/bash
# The image viewer's figures under Wine: command to drawn picture, memory and objects.
# Usage: bench/viewer-cost.sh <path-to-tivlo_viewerbench.exe> [RUNS]
# Generates its pictures with ImageMagick (fixed seeds) in a scratch folder.
. "$(dirname "$(readlink -f "$0")")/wine-bench.sh"
bench_begin 1 2 "<path-to-tivlo_viewerbench.exe> [RUNS]" "$@"
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
bench_run 900 "$(win_path "$pics")" "${2:-20}"
