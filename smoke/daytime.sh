# Helpers of the clock synchronisation cases: a private network in which the program's
# sockets meet a loopback daytime server on the port the smoke build was compiled with
# (smoke/daytime.port). Sourced by those cases, after smoke/case.sh set up the session.
#
# Wine makes its sockets in the wineserver, so the session's wineserver is started again
# inside a network namespace of its own, beside the daytime server: no other run on this
# machine can take or see the port, and Xvfb and the programs stay where they are.

DAYTIME_PORT=$(cat "$(dirname "${BASH_SOURCE[0]}")/daytime.port")
DAYTIME_SERVER="$(dirname "${BASH_SOURCE[0]}")/daytime-server.py"
DAYTIME_LOG="$SMOKE_TMP/daytime.log"

# daytime_network MODE: the namespace, with a daytime server that answers the example line
# (reply), accepts and stays silent (silent), or none at all (refuse). Fails, saying why,
# when no namespace can be made or its servers do not start.
daytime_network() {
    local mode=$1 pidfile="$SMOKE_TMP/daytime.pid" i
    : >"$DAYTIME_LOG"
    rm -f "$pidfile"
    wineserver_t 20 -k >/dev/null 2>&1
    wineserver_t 20 -w >/dev/null 2>&1
    local ns=(unshare -n)
    unshare -n true 2>/dev/null || ns=(unshare -rn)
    # The wineserver goes to the background once it takes clients; it lives in the namespace.
    timeout 60 "${ns[@]}" bash -c '
        ip link set lo up || exit 1
        if [ "$1" != refuse ]; then
            timeout 600 python3 "$2" "$3" "$1" "$4" & echo $! >"$5"
        fi
        exec "$6" -p 30' daytime "$mode" "$DAYTIME_SERVER" "$DAYTIME_PORT" "$DAYTIME_LOG" \
        "$pidfile" "$WINE_SERVER64" >>"$SMOKE_TMP/daytime-net.log" 2>&1 ||
        { echo "no network namespace with a wineserver: $(tail -n 3 "$SMOKE_TMP/daytime-net.log")" >&2; return 1; }
    [ "$mode" = refuse ] && return 0
    for i in $(seq 50); do
        grep -q '^listening' "$DAYTIME_LOG" && return 0
        sleep 0.1
    done
    echo "the daytime server did not start: $(tail -n 3 "$SMOKE_TMP/daytime-net.log")" >&2
    return 1
}

# The daytime server's connections so far.
daytime_connects() { grep -c '^connect' "$DAYTIME_LOG"; }

# Ends the daytime server (the namespace's wineserver ends with the session).
daytime_stop() {
    local pidfile="$SMOKE_TMP/daytime.pid"
    [ -f "$pidfile" ] && kill "$(cat "$pidfile")" 2>/dev/null
    rm -f "$pidfile"
}

# choose_time_synch: opens the tray menu and chooses "&Time Synch Via Web" with its key;
# sets CHOSEN_MS to the moment of the key press.
choose_time_synch() {
    open_tray_menu || return 1
    xdotool mousemove --sync $((mxx + mw / 2)) $((myy + 10))
    sleep 0.3
    CHOSEN_MS=$(now_ms)
    press t
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
box_geometry() {
    local id
    id=$(xdotool search --onlyvisible --name '^Tivlo 2\.3$' 2>/dev/null | head -n 1)
    [ -n "$id" ] || return 1
    xdotool getwindowgeometry --shell "$id" | awk -F= '
        $1 == "X" { x = $2 } $1 == "Y" { y = $2 } $1 == "WIDTH" { w = $2 } $1 == "HEIGHT" { h = $2 }
        END { print x, y, w, h }'
}

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
