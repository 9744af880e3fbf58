# A "Once" alarm with music, due a few seconds after start: the pop-up opens above another
# window at the top centre, flashes its hint in red and plays the music; a left double-click
# closes it, and the stored alarm ends in today's date.
name="alarm pop-up above another window, closed by a double-click"

# A null sound device, so that MCI opens and plays the .wav (it plays faster than real time).
printf 'pcm.!default { type null }\nctl.!default { type null }\n' >"$HOME/.asoundrc"
sox -q -n -r 44100 -c 2 "$SMOKE_TMP/chime.wav" synth 2 sine 660 || { not_ok "$name" "sox made no .wav"; return; }
music=$(win_path "$SMOKE_TMP/chime.wav")

# Another window first: the pop-up must come out above it.
(cd "$SMOKE_TMP" && exec timeout -k 5 120 "$WINELOADER" explorer "/desktop=$SMOKE_DESKTOP" notepad) \
    >>"$SMOKE_TMP/wine.log" 2>&1 &
wait_for 30 window_up "Untitled - Notepad" || smoke_log "notepad did not show"
xdotool search --onlyvisible --name "^Untitled - Notepad\$" windowmove 250 0 windowsize 300 200 2>/dev/null

due=$(date -d '+9 sec' +%H:%M:%S)
today_mdy=$(date '+%b %d , %Y')
today_dmy=$(date '+%d %b %Y')
put_alarms "Tea is ready/Once/$today_mdy/$due/$music/Do nothing/1/0/"

if ! start_and_wait_icons 40; then
    not_ok "$name" "the two tray icons did not appear within 40 s"
    return
fi

# The pop-up: red ink at the top centre of the screen.
red_count() {  # PNG: pixels of strong red in the top band
    convert "$1" -crop 240x40+280+0 +repage -fx 'r > 0.3 && g < 0.1 && b < 0.1 ? 1 : 0' \
        -format '%[fx:round(mean*w*h)]' info: 2>/dev/null
}
popup_shown() { screenshot "$SMOKE_TMP/popup.png" && [ "$(red_count "$SMOKE_TMP/popup.png")" -gt 20 ]; }
popup_gone() {
    screenshot "$SMOKE_TMP/after.png" &&
        [ "$(convert "$SMOKE_TMP/after.png" -crop 240x300+280+0 +repage \
            -fx 'r > 0.3 && g < 0.1 && b < 0.1 ? 1 : 0' -format '%[fx:round(mean*w*h)]' info:)" -eq 0 ]
}

if ! wait_for 30 popup_shown; then
    keep_file "$SMOKE_TMP/popup.png" popup-missing.png
    not_ok "$name" "no red hint at the top centre within 30 s of $due"
    return
fi
keep_file "$SMOKE_TMP/popup.png" popup.png
ok "the pop-up shows the hint in red above notepad" "$(red_count "$SMOKE_TMP/popup.png") red pixels"

stored=$(reg_dump | grep '^TimeSetting\\AlarmList1=')
case "$stored" in
    *"/$today_dmy (REG_SZ)") ok "the fired alarm is stored with today's date" ;;
    *) not_ok "the fired alarm is stored with today's date" "stored: $stored" ;;
esac

# The left button drags the borderless window: 100 pixels down.
red_rows() {  # PNG: the first and last row of strong red in the top centre
    convert "$1" -crop 240x300+280+0 +repage -fx 'r > 0.3 && g < 0.1 && b < 0.1 ? 1 : 0' \
        -trim -format '%Y %h' info: 2>/dev/null | tr -d '+'
}
xdotool mousemove --sync 400 7 mousedown 1 mousemove --sync 400 40 mousemove --sync 400 107 mouseup 1
sleep 0.5
screenshot "$SMOKE_TMP/moved.png"
read -r top _ < <(red_rows "$SMOKE_TMP/moved.png")
if [ "${top:-0}" -ge 95 ]; then
    ok "the left button drags the pop-up" "hint now at y $top"
    y=$((top + 4))
else
    keep_file "$SMOKE_TMP/moved.png" popup-not-moved.png
    not_ok "the left button drags the pop-up" "hint at y ${top:-none} after a drag of 100 pixels"
    y=7
fi

# Double-click the middle of the hint's line.
xdotool mousemove --sync 400 "$y" click --repeat 2 --delay 80 1
if wait_for 5 popup_gone; then
    ok "a left double-click closes the pop-up"
else
    keep_file "$SMOKE_TMP/after.png" popup-after-dblclick.png
    not_ok "a left double-click closes the pop-up" "red pixels remain"
fi
