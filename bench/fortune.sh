#!/bin/bash
# The card game's figures under Wine: DrawTable, one drag move, objects and private memory
# around 1,000 deals and drags, the open window's memory and the finale's tick spacing.
# Usage: bench/fortune.sh <path-to-tivlo_fortunebench.exe> [ROUNDS]
# Exits with the bench's code: 0 when no object count grew.
. "$(dirname "$(readlink -f "$0")")/wine-bench.sh"
bench_begin 1 2 "<path-to-tivlo_fortunebench.exe> [ROUNDS]" "$@"
wine_setup "$1" || exit 2
bench_run 600 "${2:-1000}"
