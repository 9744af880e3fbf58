#!/bin/bash
# The alarm pop-up's frames under Wine: GDI and USER objects after 10,000 frames of ten lines
# against those after the first, and the erases of the window between frames.
# Usage: bench/alarm-frames.sh <path-to-tivlo_alarmbench.exe> [FRAMES]
# Exits with the bench's code: 0 when nothing grew and nothing was erased.
. "$(dirname "$(readlink -f "$0")")/wine-bench.sh"
bench_begin 1 2 "<path-to-tivlo_alarmbench.exe> [FRAMES]" "$@"
wine_setup "$1" || exit 2
bench_run 600 "${2:-10000}"
