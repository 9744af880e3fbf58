#!/bin/bash
# The alarm editor's music controls under Wine with the null sound device: each Change of a
# dragged volume thumb with its mixer call, a minute of looping preview (share of one core),
# and GDI and USER objects around ten minutes' worth of progress updates.
# Usage: bench/music-cost.sh <path-to-tivlo_musicbench.exe> [PREVIEW_SECONDS] [UPDATES]
set -u
here=$(dirname "$(readlink -f "$0")")
. "$here/../smoke/lib.sh"
wine_hide_32bit "$0" "$@"

[ $# -ge 1 ] && [ $# -le 3 ] || { echo "usage: $0 <path-to-tivlo_musicbench.exe> [SECONDS] [UPDATES]" >&2; exit 2; }
wine_setup "$1" || exit 2
printf 'pcm.!default { type null }\nctl.!default { type null }\n' >"$HOME/.asoundrc"
sox -q -n -r 44100 -c 2 "$SMOKE_TMP/preview.wav" synth 5 sine 440 || exit 2
(cd "$SMOKE_EXE_DIR" && wine_t 900 "$SMOKE_EXE" "$(win_path "$SMOKE_TMP/preview.wav")" \
    "${2:-60}" "${3:-12000}") | tr -d '\r'
rc=${PIPESTATUS[0]}
echo "exit code $rc"
exit "$rc"
