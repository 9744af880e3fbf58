# "&Time Synch Via Web" against a loopback daytime server that sends the example line: the
# success box shows, and the clock is set to the line's time in UTC (recorded in effects.log).
. "$here/daytime.sh"
name="time synch sets the clock from a loopback daytime server"
SMOKE_EFFECTS_EXPECTED=1
if ! daytime_network reply; then
    not_ok "$name" "no private network for the daytime server"
    return
fi
if ! start_and_wait_icons 40; then
    not_ok "$name" "the two tray icons did not appear within 40 s"
    daytime_stop
    return
fi
if ! choose_time_synch; then
    not_ok "$name" "no tray menu"
    daytime_stop
    return
fi
if ! shown=$(wait_box_ms 15); then
    screenshot "$SMOKE_TMP/nobox.png" && keep_file "$SMOKE_TMP/nobox.png"
    not_ok "$name" "no message box within 15 s; server connections: $(daytime_connects)"
    daytime_stop
    return
fi
sleep 0.3
screenshot "$SMOKE_TMP/finished.png" && keep_file "$SMOKE_TMP/finished.png" time-synch-finished.png
read -r bx by bw bh < <(box_geometry)
effects=$(tr -d '\r' <"$SMOKE_EXE_DIR/effects.log" 2>/dev/null)
close_box || not_ok "$name: the box" "Return did not close it"
connects=$(daytime_connects)
daytime_stop
if [ "$effects" != "SetSystemTime 2026-12-07 21:45:30" ]; then
    not_ok "$name" "effects.log: $(printf %s "$effects" | tr '\n' ';')"
elif [ "$connects" -ne 1 ]; then
    not_ok "$name" "$connects connections to the server"
else
    ok "$name" "box ${bw}x${bh} $((shown - CHOSEN_MS)) ms after the command; clock set to 2026-12-07 21:45:30 UTC"
fi
