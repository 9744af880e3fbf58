# "&Alarm Schedule" from the tray menu opens the collapsed dialog; Add opens the editor below
# it; a hint typed, the minute raised by two with the picker's spin, OK and Save store the
# alarm, which fires into the pop-up at that minute.
# limit: 180
name="schedule dialog: add an alarm, save it, and it fires"
dialog_up() { window_up 'Alarm Schedule Setting'; }

# A sound device on every machine, so that the editor's volume set-up asks nothing.
sound_device null
schedule_clear_of_the_hour
if ! start_and_open a 'Alarm Schedule Setting'; then
    not_ok "$name" "$TRAY_WHY"
    return
fi
sleep 1
screenshot "$SMOKE_TMP/collapsed.png" && keep_file "$SMOKE_TMP/collapsed.png" collapsed.png
schedule_origin
if [ "$((w1 - 2 * border))" -eq 592 ] && [ "$((h1 - 313 - border))" -gt "$border" ]; then
    ok "the collapsed dialog's client area is 592 x 313 pixels" "window ${w1}x${h1} at $x1,$y1"
else
    not_ok "the collapsed dialog's client area is 592 x 313 pixels" "window ${w1}x${h1}"
fi

press alt+a
sleep 1
screenshot "$SMOKE_TMP/expanded.png" && keep_file "$SMOKE_TMP/expanded.png" expanded.png
read -r _ _ w2 h2 < <(window_geometry 'Alarm Schedule Setting')
# 8820 twips tall with the editor.
if [ "$h2" -eq 588 ]; then
    ok "Add opens the editor: the window is 588 pixels tall" "from $h1"
else
    not_ok "Add opens the editor: the window is 588 pixels tall" "from $h1 to $h2"
fi

# The picker: the minute field, then the spin's upper arrow twice; seconds 00.
minute_before=$(date +%M)
schedule_two_minutes_ahead
# The hint, on the "Action&s" page.
press alt+s
sleep 0.3
schedule_at $((120 + 1320 + 900)) $((4695 + 120 + 120 + 360 + 140))
press End shift+Home
xdotool type --delay 40 'Smoke test hint'
sleep 0.3
screenshot "$SMOKE_TMP/edited.png" && keep_file "$SMOKE_TMP/edited.png" edited.png
if ! schedule_ok_and_save; then
    screenshot "$SMOKE_TMP/notsaved.png" && keep_file "$SMOKE_TMP/notsaved.png"
    not_ok "$name" "the dialog is still open after OK and Save"
    return
fi

store=$(reg_dump)
stored=$(printf '%s\n' "$store" | sed -n 's/^TimeSetting\\AlarmList1=\(.*\) (REG_SZ)$/\1/p')
count=$(printf '%s\n' "$store" | sed -n 's/^TimeSetting\\AlarmNum=\(.*\) (REG_SZ)$/\1/p')
due_hm=${stored#*/*/*/}
due_hm=${due_hm%%/*}
case "$count|$stored" in
    "1|Smoke test hint/Once/$(date '+%b %d , %Y')/"*"//Do nothing/10/0/")
        ok "Save stores one alarm with the typed hint" "$stored" ;;
    *)
        not_ok "Save stores one alarm with the typed hint" "AlarmNum=$count AlarmList1=$stored"
        return ;;
esac
# Raised by two from the minute the dialog showed.
due_min=$(echo "$due_hm" | cut -d: -f2)
if [ $(((10#$due_min - 10#$minute_before + 60) % 60)) -eq 2 ] ||
    [ $(((10#$due_min - 10#$minute_before + 60) % 60)) -eq 3 ]; then
    ok "the spin raised the minute by two" "$minute_before -> $due_min"
else
    not_ok "the spin raised the minute by two" "$minute_before -> $due_min"
fi

red_count() {
    convert "$1" -crop 240x40+280+0 +repage -fx 'r > 0.3 && g < 0.1 && b < 0.1 ? 1 : 0' \
        -format '%[fx:round(mean*w*h)]' info: 2>/dev/null
}
popup_shown() { screenshot "$SMOKE_TMP/popup.png" && [ "$(red_count "$SMOKE_TMP/popup.png")" -gt 20 ]; }
if wait_for 130 popup_shown; then
    keep_file "$SMOKE_TMP/popup.png" popup.png
    ok "the saved alarm fires into the pop-up" "due $due_hm, shown at $(date +%T)"
else
    keep_file "$SMOKE_TMP/popup.png" popup-missing.png
    not_ok "the saved alarm fires into the pop-up" "nothing red at the top by $(date +%T), due $due_hm"
fi
