#!/bin/bash
# Cost of the clock synchronisation under Wine, against loopback daytime servers:
#  - the CPU share of one core that the program (and, apart, its wineserver) uses during a
#    silent server's three waits, and whether the tray icons still changed at second 00;
#  - how soon after the command a synchronisation against a server that answers ends (the
#    success box shows).
# Usage: bench/time-synch-cost.sh <tivlo-smoke.exe> [runs]   (a report, not a test)
. "$(dirname "$(readlink -f "$0")")/wine-bench.sh"
bench_begin 1 2 "<tivlo-smoke.exe> [runs]" "$@"
wine_setup "$1" || exit 0
RUNS=${2:-5}
. "$here/../smoke/daytime.sh"

hz=$(getconf CLK_TCK)
icons_ascii() { screenshot "$SMOKE_TMP/i.png" && ascii_crop "$SMOKE_TMP/i.png" $((ICON_X_LEFT - 2)) $((ICON_Y - 2)) 40 20; }
start_program() {
    stop_all
    tivlo_start
    wait_for 40 icons_shown && mouse_away && sleep 1
}

# ---- a silent server: three waits of about ten seconds ----
reg_delete_store
if ! daytime_network silent || ! start_program; then
    echo "no program with a silent daytime server; no figures"
    exit 0
fi
pid=$(tivlo_pids | head -n 1)
# Start between seconds 38 and 45, so that second 00 falls inside the 30 s of waits.
until s=$((10#$(date +%S))); [ "$s" -ge 38 ] && [ "$s" -le 45 ]; do sleep 0.5; done
choose_time_synch || { echo "no tray menu; no figures"; exit 0; }
srv=$(wineserver_pid)
t0=$(proc_ticks "$pid") w0=$(proc_ticks "$srv") s0=$(date +%s%N)
# The icons just before and just after the minute changes, while the waits go on.
until [ "$((10#$(date +%S)))" -ge 58 ]; do sleep 0.2; done
before=$(icons_ascii)
until [ "$((10#$(date +%S)))" -ge 2 ] && [ "$((10#$(date +%S)))" -lt 30 ]; do sleep 0.2; done
after=$(icons_ascii)
during_waits=yes
window_up 'Tivlo 2\.3' && during_waits=no
shown=$(wait_box_ms 60) || { echo "no box after the silent server's waits; no figures"; exit 0; }
t1=$(proc_ticks "$pid") w1=$(proc_ticks "$srv") s1=$(date +%s%N)
close_box
connects=$(daytime_connects)
changed=no
[ "$before" != "$after" ] && changed=yes
awk -v dt=$((t1 - t0)) -v dw=$((w1 - w0)) -v hz="$hz" -v ns=$((s1 - s0)) -v c="$connects" \
    -v ch="$changed" -v dur="$during_waits" 'BEGIN {
    cpu = 100 * (dt / hz) / (ns / 1e9); srv = 100 * (dw / hz) / (ns / 1e9)
    printf "silent server: %d connections, %.1f s from the command to the error box\n", c, ns / 1e9
    printf "  program CPU during the waits: %.2f %% of one core (%d ticks)   goal < 2 %%   %s\n", cpu, dt, (cpu < 2 ? "met" : "NOT met")
    printf "  its wineserver meanwhile: %.2f %% of one core (%d ticks)\n", srv, dw
    printf "  tray icons changed at second 00 during the waits: %s\n", (ch == "yes" && dur == "yes") ? "yes" : "NO"
}'
stop_all
daytime_stop

# ---- a server that answers: command to success box ----
times=()
for run in $(seq "$RUNS"); do
    if ! daytime_network reply || ! start_program; then
        echo "run $run: no program with an answering server"
        continue
    fi
    rm -f "$SMOKE_EXE_DIR/effects.log"
    choose_time_synch || continue
    shown=$(wait_box_ms 15) || { echo "run $run: no box within 15 s"; continue; }
    times+=($((shown - CHOSEN_MS)))
    close_box
    grep -q '^SetSystemTime 2026-12-07 21:45:30$' "$SMOKE_EXE_DIR/effects.log" 2>/dev/null ||
        echo "run $run: the clock was not set as expected"
    stop_all
    daytime_stop
done
printf '%s\n' "${times[@]}" | sort -n | awk -v n="${#times[@]}" '
    { t[NR] = $1 } END {
        if (n == 0) { print "answering server: no runs"; exit }
        printf "answering server: command to success box in %s ms (median of %d runs; slowest %d ms)   goal < 1000 ms   %s\n",
            t[int((n + 1) / 2)], n, t[n], (t[n] < 1000 ? "met" : "NOT met")
    }'
exit 0
