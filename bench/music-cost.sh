#!/bin/bash
# The alarm editor's music controls under Wine with the null sound device: each Change of a
# dragged volume thumb with its mixer call, a minute of looping preview (share of one core),
# and GDI and USER objects around ten minutes' worth of progress updates. The null device plays
# faster than real time: the file is half an hour long, so that it is not closed and opened
# again many times a second, which a real device never does.
# Usage: bench/music-cost.sh <path-to-tivlo_musicbench.exe> [PREVIEW_SECONDS] [UPDATES]
. "$(dirname "$(readlink -f "$0")")/wine-bench.sh"
bench_begin 1 3 "<path-to-tivlo_musicbench.exe> [SECONDS] [UPDATES]" "$@"
wine_setup "$1" || exit 2
sound_device null
sox -q -n -r 8000 -c 1 "$SMOKE_TMP/preview.wav" synth 1800 sine 440 || exit 2
bench_run 900 "$(win_path "$SMOKE_TMP/preview.wav")" "${2:-60}" "${3:-12000}"
