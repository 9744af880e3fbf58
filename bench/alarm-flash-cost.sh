#!/bin/bash
# CPU share of one core while the alarm pop-up flashes ten lines for a minute, under Wine.
# Usage: bench/alarm-flash-cost.sh <tivlo-smoke.exe>   (a report, not a test: exits 0 either way)
# FLASH_SHOT=<png> keeps a screenshot of the pop-up that was measured.
. "$(dirname "$(readlink -f "$0")")/wine-bench.sh"
bench_begin 1 1 "<tivlo-smoke.exe>" "$@"
wine_setup "$1" || exit 0
WINDOW=${FLASH_WINDOW:-60}

# Ten alarms due together a few seconds after the start: one pop-up with ten lines.
reg_delete_store
due=$(date -d '+12 sec' +%H:%M:%S)
alarms=()
for i in $(seq 1 10); do alarms+=("Alarm number $i/Once/$(date '+%b %d , %Y')/$due//Do nothing/1/0/"); done
put_alarms "${alarms[@]}"
tivlo_start
if ! wait_for 40 icons_shown; then
    echo "the program's tray icons did not appear; no figures"
    exit 0
fi
mouse_away
# The pop-up is up once the top centre has red ink.
red_ink() {
    screenshot "$SMOKE_TMP/flash.png" &&
        [ "$(convert "$SMOKE_TMP/flash.png" -crop 240x200+280+0 +repage \
            -fx 'r > 0.3 && g < 0.1 && b < 0.1 ? 1 : 0' -format '%[fx:round(mean*w*h)]' info:)" -gt 100 ]
}
if ! wait_for 40 red_ink; then
    echo "the pop-up did not appear; no figures"
    exit 0
fi
sleep 2
[ -n "${FLASH_SHOT:-}" ] && screenshot "$FLASH_SHOT"  # to look at the pop-up measured
pid=$(tivlo_pids | head -n 1)
[ -n "$pid" ] || { echo "the program is not running; no figures"; exit 0; }

read -r cpu dt < <(cpu_share "$pid" "$WINDOW") || { echo "the program ended during the measurement"; exit 0; }
awk -v cpu="$cpu" -v dt="$dt" -v w="$WINDOW" 'BEGIN {
    printf "ten lines flashing for %d s: %.2f %% of one core (%d ticks)   goal < 3 %%   %s\n", w, cpu, dt, (cpu < 3 ? "met" : "NOT met")
}'
exit 0
