#!/bin/bash
# Where the Win32 picture loader's time goes for a 4000 x 3000 JPEG under Wine.
# Usage: bench/loader-stages.sh <path-to-tivlo_loaderstages.exe> [RUNS]
# Generates its JPEG with ImageMagick (fixed seed, as bench/viewer-cost.sh) in a scratch folder.
. "$(dirname "$(readlink -f "$0")")/wine-bench.sh"
bench_begin 1 2 "<path-to-tivlo_loaderstages.exe> [RUNS]" "$@"
wine_setup "$1" || exit 2
convert -seed 1 -size 4000x3000 plasma:fractal -quality 90 "$SMOKE_TMP/big.jpg"
bench_run 600 "$(win_path "$SMOKE_TMP/big.jpg")" "${2:-20}"
