#!/bin/bash
# GDI and USER object counts around 10,000 redraws of the tray icons, under Wine.
# Usage: bench/gdi-leaks.sh <path-to-tivlo_gdibench.exe> [REDRAWS]
# Under Wine each redraw costs tens of milliseconds (both icons go to the tray process), so
# the default 10,000 redraws take several minutes.
# Exits with the bench's code: 0 when no count grew.
set -u
here=$(dirname "$(readlink -f "$0")")
. "$here/../smoke/lib.sh"
wine_hide_32bit "$0" "$@"

[ $# -ge 1 ] && [ $# -le 2 ] || { echo "usage: $0 <path-to-tivlo_gdibench.exe> [REDRAWS]" >&2; exit 2; }
wine_setup "$1" || exit 2
reg_delete_store  # start from the defaults, as a first run does
(cd "$SMOKE_EXE_DIR" && wine_t 900 "$SMOKE_EXE" "${2:-10000}") | tr -d '\r'
rc=${PIPESTATUS[0]}
echo "exit code $rc"
exit "$rc"
