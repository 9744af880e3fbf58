#!/bin/bash
# The schedule dialog under Wine with 500 stored alarms: from the tray item to the filled dialog
# on the screen, a row click, a Remove and a Save, each until the dialog has painted again.
# Usage: bench/schedule-500.sh <path-to-tivlo_schedbench.exe> [ALARMS]
# Exits with the bench's code: 0 when the saved list holds one alarm fewer.
set -u
here=$(dirname "$(readlink -f "$0")")
. "$here/../smoke/lib.sh"
wine_hide_32bit "$0" "$@"

[ $# -ge 1 ] && [ $# -le 2 ] || { echo "usage: $0 <path-to-tivlo_schedbench.exe> [ALARMS]" >&2; exit 2; }
wine_setup "$1" || exit 2
(cd "$SMOKE_EXE_DIR" && wine_t 600 "$SMOKE_EXE" "${2:-500}") | tr -d '\r'
rc=${PIPESTATUS[0]}
echo "exit code $rc"
exit "$rc"
