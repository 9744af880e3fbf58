# With the null sound device: a .wav chosen in the file dialog by typing its path, Play moves
# the progress thumb, Stop puts it back, the volume thumb follows a drag, and OK and Save store
# the path in the alarm's text.
# limit: 180
name="alarm music preview and volume"
sound_device null
sox -q -n -r 44100 -c 2 "$SMOKE_TMP/tune.wav" synth 30 sine 440 ||
    { not_ok "$name" "sox made no .wav"; return; }
music=$(win_path "$SMOKE_TMP/tune.wav")
dialog_up() { window_up 'Alarm Schedule Setting'; }
open_up() { window_up 'Open'; }
# Screen pixels of a point on the "Action&s" page, given in the page's twips.
page_x() { echo $((cx + (120 + $1) / 15)); }
page_y() { echo $((cy + (4695 + 480 + $1) / 15)); }
at_page() { click "$(page_x "$1")" "$(page_y "$2")" 1; }
# The left column of the thumb's dark stripes in a slider row of the page (twips top), from a
# screenshot.
thumb_x() {
    convert "$1" -crop "225x17+$(page_x 1320)+$(page_y "$2")" +repage \
        -fx 'r < 0.1 && g < 0.1 && b < 0.1 ? 1 : 0' -trim -format '%X' info: 2>/dev/null | tr -d '+'
}

schedule_clear_of_the_hour
if ! start_and_open a 'Alarm Schedule Setting'; then
    not_ok "$name" "$TRAY_WHY"
    return
fi
sleep 1
if window_up 'Tivlo 2.3'; then
    screenshot "$SMOKE_TMP/message.png" && keep_file "$SMOKE_TMP/message.png" message.png
    not_ok "no volume message with a sound device" "a message box is up"
    return
fi
schedule_origin
press alt+a
sleep 1
schedule_two_minutes_ahead
press alt+s
sleep 0.5
at_page $((4560 + 180)) $((510 + 140))   # the path button
if ! wait_for 10 open_up; then
    screenshot "$SMOKE_TMP/nodialog.png" && keep_file "$SMOKE_TMP/nodialog.png" nodialog.png
    not_ok "$name" "no file dialog"
    return
fi
sleep 0.5
xdotool type --delay 20 "$music"
press Return
if ! wait_for 10 eval '! open_up'; then
    not_ok "$name" "the file dialog stays open"
    return
fi
sleep 0.5
at_page $((120 + 277)) $((870 + 140))    # Play
sleep 1
screenshot "$SMOKE_TMP/play1.png"
sleep 1
screenshot "$SMOKE_TMP/play2.png"
keep_file "$SMOKE_TMP/play1.png" play1.png
keep_file "$SMOKE_TMP/play2.png" play2.png
if window_up 'Tivlo 2.3'; then
    not_ok "the preview plays" "a message box is up"
    return
fi
p1=$(thumb_x "$SMOKE_TMP/play1.png" 900)
p2=$(thumb_x "$SMOKE_TMP/play2.png" 900)
if [ -n "$p1" ] && [ -n "$p2" ] && [ "$p2" -gt "$p1" ]; then
    ok "the progress thumb moves while the preview plays" "$p1 -> $p2"
else
    not_ok "the progress thumb moves while the preview plays" "${p1:-none} -> ${p2:-none}"
fi
at_page $((720 + 277)) $((870 + 140))    # Stop
sleep 0.5
screenshot "$SMOKE_TMP/stop.png" && keep_file "$SMOKE_TMP/stop.png" stop.png
p3=$(thumb_x "$SMOKE_TMP/stop.png" 900)
if [ -n "$p3" ] && [ "$p3" -le 3 ]; then
    ok "Stop puts the progress thumb back" "at $p3"
else
    not_ok "Stop puts the progress thumb back" "at ${p3:-none}"
fi

v1=$(thumb_x "$SMOKE_TMP/stop.png" 1260)
vx=$(($(page_x 1320) + ${v1:-0} + 4))
vy=$(page_y $((1260 + 120)))
xdotool mousemove --sync "$vx" "$vy" mousedown 1 mousemove --sync $((vx - 30)) "$vy" \
    mousemove --sync $((vx - 60)) "$vy" mouseup 1
sleep 0.5
screenshot "$SMOKE_TMP/volume.png" && keep_file "$SMOKE_TMP/volume.png" volume.png
v2=$(thumb_x "$SMOKE_TMP/volume.png" 1260)
if [ -n "$v1" ] && [ -n "$v2" ] && [ $((v1 - v2)) -ge 55 ] && [ $((v1 - v2)) -le 65 ]; then
    ok "the volume thumb follows a drag" "$v1 -> $v2"
else
    not_ok "the volume thumb follows a drag" "${v1:-none} -> ${v2:-none}"
fi

if ! schedule_ok_and_save; then
    screenshot "$SMOKE_TMP/notsaved.png" && keep_file "$SMOKE_TMP/notsaved.png" notsaved.png
    not_ok "$name" "the dialog stays open after OK and Save"
    return
fi
stored=$(reg_dump | sed -n 's/^TimeSetting\\AlarmList1=\(.*\) (REG_SZ)$/\1/p')
case "$stored" in
    *"/$music/"*) ok "the alarm's stored text holds the music path" "$stored" ;;
    *) not_ok "the alarm's stored text holds the music path" "$stored" ;;
esac
