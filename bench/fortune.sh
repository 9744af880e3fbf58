#!/bin/bash
# The card game's figures under Wine: DrawTable, one drag move, objects and private memory
# around 1,000 deals and drags, the open window's memory and the finale's tick spacing.
# Usage: bench/fortune.sh <path-to-tivlo_fortunebench.exe> [ROUNDS]
# Exits with the bench's code: 0 when no object count grew.
set -u
here=$(dirname "$(readlink -f "$0")")
. "$here/../smoke/lib.sh"
wine_hide_32bit "$0" "$@"

[ $# -ge 1 ] && [ $# -le 2 ] || { echo "usage: $0 <path-to-tivlo_fortunebench.exe> [ROUNDS]" >&2; exit 2; }
wine_setup "$1" || exit 2
(cd "$SMOKE_EXE_DIR" && wine_t 600 "$SMOKE_EXE" "${2:-1000}") | tr -d '\r'
rc=${PIPESTATUS[0]}
echo "exit code $rc"
exit "$rc"
