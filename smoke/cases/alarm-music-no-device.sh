# Without a sound device the mixer cannot open: "&Alarm Schedule" shows the volume message
# once, as the editor is made with the dialog, and the editor's "Action&s" page stays usable.
name="alarm music page without a sound device"
dialog_up() { window_up 'Alarm Schedule Setting'; }
message_up() { window_up 'Tivlo 2.3'; }

sound_device none
if ! start_and_wait_icons 40; then
    not_ok "$name" "the two tray icons did not appear within 40 s"
    return
fi
if ! choose_tray_item a; then
    not_ok "$name" "no tray menu"
    return
fi
if wait_for 10 message_up; then
    screenshot "$SMOKE_TMP/message.png" && keep_file "$SMOKE_TMP/message.png" message.png
    ok "the volume message shows as the dialog opens"
else
    screenshot "$SMOKE_TMP/none.png" && keep_file "$SMOKE_TMP/none.png" none.png
    not_ok "the volume message shows as the dialog opens" "no \"Tivlo 2.3\" box within 10 s"
    return
fi
# Return to the box with the pointer over it (keys go to the window under the pointer), again
# while the box stays: a loaded machine shows it before it takes keys.
for try in 1 2 3; do
    read -r bx by bw bh < <(window_geometry 'Tivlo 2\.3') && mouse_to $((bx + bw / 2)) $((by + bh / 2))
    press Return
    wait_for 5 eval '! message_up' && break
done
if ! wait_for 10 dialog_up; then
    not_ok "$name" "no window \"Alarm Schedule Setting\" after the message"
    return
fi
sleep 1
press alt+a
sleep 1
press alt+s
sleep 1
screenshot "$SMOKE_TMP/actions.png" && keep_file "$SMOKE_TMP/actions.png" actions.png
if message_up; then
    not_ok "the message shows only once" "a second box is up"
else
    ok "the message shows only once"
fi
# The page answers: Cancel closes the editor, Exit the dialog.
press alt+c
sleep 0.5
press alt+x
if wait_for 10 eval '! dialog_up'; then
    ok "the editor and the dialog close as usual"
else
    screenshot "$SMOKE_TMP/stuck.png" && keep_file "$SMOKE_TMP/stuck.png" stuck.png
    not_ok "the editor and the dialog close as usual" "the dialog is still up"
fi
