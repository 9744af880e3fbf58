# A right click on a tray icon opens the menu; Escape closes it.
name="right click opens the menu, Escape closes it"
if ! start_and_wait_icons 40; then
    not_ok "$name" "the two tray icons did not appear within 40 s"
    return
fi
if ! open_tray_menu; then
    keep_file "$SMOKE_TMP/menu.png" menu-failed.png
    not_ok "$name" "no menu of the expected size appeared (changed area ${mw:-0}x${mh:-0} at ${mxx:-}, ${myy:-})"
    return
fi
box="${mw}x${mh} at $mxx,$myy"
mouse_to $((mxx + mw / 2)) $((myy + 10))
sleep 0.3
press Escape
if wait_for 3 menu_closed; then
    ok "$name" "menu $box"
else
    not_ok "$name" "menu $box stayed open after Escape"
fi
