#!/bin/bash
# Every window of the program opened and closed 50 times under Wine (the schedule dialog, the
# grab window, the image viewer on a 4000 x 3000 picture, the game, the About box, an alarm
# pop-up): private bytes, GDI and USER objects after each window's first and last closing.
# Usage: bench/window-cycles.sh <path-to-tivlo_windowsbench.exe> [CYCLES]
# Exits 0 when every window came back to its first closing's objects
# and within 1 MB of its private bytes.
. "$(dirname "$(readlink -f "$0")")/wine-bench.sh"
bench_begin 1 2 "<path-to-tivlo_windowsbench.exe> [CYCLES]" "$@"
wine_setup "$1" || exit 2
reg_delete_store  # start from the defaults, as a first run does
sound_device null  # so that the schedule dialog asks nothing about the volume control
pics=$SMOKE_TMP/pics
mkdir -p "$pics"
convert -seed 1 -size 4000x3000 plasma:fractal -quality 90 "$pics/big.jpg"
# Inside the desktop the launcher's exit code is not the bench's: its last line tells.
BENCH_DESKTOP=1 bench_run 1800 "$(win_path "$pics")" "${2:-50}" | tee "$SMOKE_TMP/out.txt"
grep -q '^all windows gave back' "$SMOKE_TMP/out.txt"
