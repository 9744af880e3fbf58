#!/bin/bash
# The schedule dialog under Wine with 500 stored alarms: from the tray item to the filled dialog
# on the screen, a row click, a Remove and a Save, each until the dialog has painted again.
# Usage: bench/schedule-500.sh <path-to-tivlo_schedbench.exe> [ALARMS]
# Exits with the bench's code: 0 when the saved list holds one alarm fewer.
. "$(dirname "$(readlink -f "$0")")/wine-bench.sh"
bench_begin 1 2 "<path-to-tivlo_schedbench.exe> [ALARMS]" "$@"
wine_setup "$1" || exit 2
sound_device null  # the editor opens the mixer; without one it stops on the volume message
BENCH_DESKTOP=1 bench_run 600 "${2:-500}"
