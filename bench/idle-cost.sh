#!/bin/bash
# Idle cost of the program under Wine: CPU share of one core over 60 s and private memory.
# Usage: bench/idle-cost.sh <exe>   (a report, not a test: exits 0 either way)
. "$(dirname "$(readlink -f "$0")")/wine-bench.sh"
bench_begin 1 1 "<exe>" "$@"
wine_setup "$1" || exit 0
SETTLE=${IDLE_SETTLE:-10}
WINDOW=${IDLE_WINDOW:-60}

reg_delete_store  # start from the defaults, as a first run does
tivlo_start
if ! wait_for 40 icons_shown; then
    echo "the program's tray icons did not appear; no figures"
    exit 0
fi
mouse_away
sleep "$SETTLE"
pid=$(tivlo_pids | head -n 1)
[ -n "$pid" ] || { echo "the program is not running; no figures"; exit 0; }

read -r cpu dt < <(cpu_share "$pid" "$WINDOW") || { echo "the program ended during the measurement"; exit 0; }
mem_kb=$(awk '/^Private_(Clean|Dirty):/ { kb += $2 } END { print kb }' "/proc/$pid/smaps_rollup")

awk -v cpu="$cpu" -v dt="$dt" -v kb="$mem_kb" -v w="$WINDOW" 'BEGIN {
    mb = kb / 1024
    printf "idle CPU over %d s: %.3f %% of one core (%d ticks)   goal < 0.5 %%   %s\n", w, cpu, dt, (cpu < 0.5 ? "met" : "NOT met")
    printf "private memory: %.1f MB (Private_Clean + Private_Dirty)   goal < 8 MB   %s\n", mb, (mb < 8 ? "met" : "NOT met")
}'
exit 0
