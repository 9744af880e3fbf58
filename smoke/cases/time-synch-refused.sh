# "&Time Synch Via Web" when nothing listens on the daytime port: three refused attempts, then
# the three-line error box, at once and without touching the clock.
. "$here/daytime.sh"
name="time synch to a refusing port fails at once"
if ! daytime_network refuse; then
    not_ok "$name" "no private network"
    return
fi
if ! start_and_wait_icons 40; then
    not_ok "$name" "the two tray icons did not appear within 40 s"
    return
fi
if ! choose_time_synch; then
    not_ok "$name" "no tray menu"
    return
fi
if ! shown=$(wait_box_ms 15); then
    not_ok "$name" "no message box within 15 s"
    return
fi
sleep 0.3
screenshot "$SMOKE_TMP/error.png" && keep_file "$SMOKE_TMP/error.png" time-synch-refused.png
read -r bx by bw bh < <(box_geometry)
close_box || not_ok "$name: the box" "Return did not close it"
if [ -e "$SMOKE_EXE_DIR/effects.log" ]; then
    SMOKE_EFFECTS_EXPECTED=1
    not_ok "$name" "effects.log: $(head -c 200 "$SMOKE_EXE_DIR/effects.log" | tr '\n' ';')"
else
    ok "$name" "box ${bw}x${bh} $((shown - CHOSEN_MS)) ms after the command"
fi
