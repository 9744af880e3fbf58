#!/bin/bash
# GDI and USER object counts around 10,000 redraws of the tray icons, under Wine.
# Usage: bench/gdi-leaks.sh <path-to-tivlo_gdibench.exe> [REDRAWS]
# Under Wine each redraw costs tens of milliseconds (both icons go to the tray process), so
# the default 10,000 redraws take several minutes.
# Exits with the bench's code: 0 when no count grew.
. "$(dirname "$(readlink -f "$0")")/wine-bench.sh"
bench_begin 1 2 "<path-to-tivlo_gdibench.exe> [REDRAWS]" "$@"
wine_setup "$1" || exit 2
reg_delete_store  # start from the defaults, as a first run does
bench_run 900 "${2:-10000}"
