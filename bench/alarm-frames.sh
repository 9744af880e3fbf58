#!/bin/bash
# The alarm pop-up's frames under Wine: GDI and USER objects after 10,000 frames of ten lines
# against those after the first, and the erases of the window between frames.
# Usage: bench/alarm-frames.sh <path-to-tivlo_alarmbench.exe> [FRAMES]
# Exits with the bench's code: 0 when nothing grew and nothing was erased.
set -u
here=$(dirname "$(readlink -f "$0")")
. "$here/../smoke/lib.sh"
wine_hide_32bit "$0" "$@"

[ $# -ge 1 ] && [ $# -le 2 ] || { echo "usage: $0 <path-to-tivlo_alarmbench.exe> [FRAMES]" >&2; exit 2; }
wine_setup "$1" || exit 2
(cd "$SMOKE_EXE_DIR" && wine_t 600 "$SMOKE_EXE" "${2:-10000}") | tr -d '\r'
rc=${PIPESTATUS[0]}
echo "exit code $rc"
exit "$rc"
