#!/bin/bash
# The grab window's figures under Wine: a page of five 12-megapixel JPEGs built, a refresh
# tick over the unchanged folder, private memory against an empty folder, the idle share of
# a core, drawing objects after 200 page flips and 50 refreshes, and a listing of 10,000
# pictures.
# Usage: bench/grab-window.sh <path-to-tivlo_grabbench.exe> [IDLE_SECONDS [BUILDS]]
# Exits with the bench's code: 0 when no drawing object was left behind.
. "$(dirname "$(readlink -f "$0")")/wine-bench.sh"
bench_begin 1 3 "<path-to-tivlo_grabbench.exe> [IDLE_SECONDS [BUILDS]]" "$@"
wine_setup "$1" || exit 2
data="$SMOKE_TMP/grab-bench"
mkdir -p "$data/big" "$data/empty" "$data/small" "$data/many"
for i in 1 2 3 4 5; do
    convert -size 4000x3000 "gradient:red-blue" -quality 90 "$data/big/big$i.jpg"
done
colours=(red lime blue yellow magenta cyan orange purple gray navy)
exts=(bmp gif jpg png bmp gif jpg png bmp gif)
for i in "${!colours[@]}"; do
    convert -size 120x90 "xc:${colours[$i]}" "$data/small/s$i.${exts[$i]}"
done
convert -size 8x8 xc:red "$data/one.gif"
for i in $(seq -w 1 10000); do ln "$data/one.gif" "$data/many/m$i.gif"; done
args=()
for d in big empty small many; do args+=("$(win_path "$data/$d")"); done
bench_run 900 "${args[@]}" "${2:-60}" "${3:-20}"
rc=$?
rm -rf "$data"
exit "$rc"
