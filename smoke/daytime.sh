# Helpers of the clock synchronisation cases: a private network (private_network in lib.sh) in
# which the program's sockets meet a loopback daytime server on the port the smoke build was
# compiled with (smoke/daytime.port). Sourced by those cases, after smoke/case.sh set up the
# session.

DAYTIME_PORT=$(cat "$(dirname "${BASH_SOURCE[0]}")/daytime.port")
DAYTIME_SERVER="$(dirname "${BASH_SOURCE[0]}")/daytime-server.py"
DAYTIME_LOG="$SMOKE_TMP/daytime.log"

# daytime_network MODE: the network, with a daytime server that answers the example line
# (reply), accepts and stays silent (silent), or none at all (refuse). Fails, saying why,
# when no namespace can be made or its server does not start.
daytime_network() {
    local mode=$1
    : >"$DAYTIME_LOG"
    if [ "$mode" = refuse ]; then
        private_network offline /dev/null
        return
    fi
    private_network offline "$SMOKE_TMP/daytime-net.log" \
        python3 "$DAYTIME_SERVER" "$DAYTIME_PORT" "$mode" "$DAYTIME_LOG" || return 1
    wait_line 5 '^listening' "$DAYTIME_LOG" && return 0
    echo "the daytime server did not start: $(tail -n 3 "$SMOKE_TMP/daytime-net.log")" >&2
    return 1
}

# The daytime server's connections so far.
daytime_connects() { grep -c '^connect' "$DAYTIME_LOG"; }

daytime_stop() { private_network_stop; }

# choose_time_synch: chooses "&Time Synch Via Web" from the tray menu; sets CHOSEN_MS to the
# moment of the key press.
choose_time_synch() {
    choose_tray_item t || return 1
    CHOSEN_MS=$TRAY_KEY_MS
}

# wait_box_ms SECONDS: waits for a message box (caption "Tivlo 2.3"), looking every 50 ms;
# prints the moment it showed, in ms.
wait_box_ms() {
    local end=$(($(now_ms) + $1 * 1000))
    until window_up 'Tivlo 2\.3'; do
        [ "$(now_ms)" -ge $end ] && return 1
        sleep 0.05
    done
    now_ms
}

# box_geometry: "x y w h" of the visible message box captioned "Tivlo 2.3".
box_geometry() { window_geometry 'Tivlo 2\.3'; }

# close_box: presses Return over the message box; 0 once it is gone.
close_box() {
    local bx by bw bh try
    for try in 1 2 3; do
        read -r bx by bw bh < <(box_geometry) || return 0
        xdotool mousemove --sync $((bx + bw / 2)) $((by + bh / 2))
        press Return
        for _ in $(seq 20); do
            window_up 'Tivlo 2\.3' || return 0
            sleep 0.1
        done
    done
    return 1
}
