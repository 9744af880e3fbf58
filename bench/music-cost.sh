#!/bin/bash
# The alarm editor's music controls under Wine with the null sound device: each Change of a
# dragged volume thumb with its mixer call, a minute of looping preview (share of one core),
# and GDI and USER objects around ten minutes' worth of progress updates. The null device plays
# faster than real time: the file is five minutes long, so that it is not closed and opened
# again many times a second, which a real device never does; it is 48 kHz stereo, as music
# files are, since a low-rate file costs Wine more to convert. A second minute of playing without status events shows what
# playing costs by itself.
# Usage: bench/music-cost.sh <path-to-tivlo_musicbench.exe> [PREVIEW_SECONDS] [UPDATES]
. "$(dirname "$(readlink -f "$0")")/wine-bench.sh"
bench_begin 1 3 "<path-to-tivlo_musicbench.exe> [SECONDS] [UPDATES]" "$@"
wine_setup "$1" || exit 2
sound_device null
sox -q -n -r 48000 -c 2 "$SMOKE_TMP/preview.wav" synth 300 sine 440 || exit 2
bench_run 900 "$(win_path "$SMOKE_TMP/preview.wav")" "${2:-60}" "${3:-12000}"
