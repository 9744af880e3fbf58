# "E&xit" removes both icons and ends the process.
name="Exit removes the icons and ends the program"
if ! start_and_wait_icons 40; then
    not_ok "$name" "the two tray icons did not appear within 40 s"
    return
fi
how=
if open_tray_menu; then
    mouse_to $((mxx + mw / 2)) $((myy + 10))
    sleep 0.3
    t0=$(now_ms)
    press x  # the item's accelerator
    if wait_for 5 icons_gone; then
        how="chosen with its accelerator key"
    elif menu_open; then
        # Keys did not reach the menu: click the last entry instead.
        t0=$(now_ms)
        click $((mxx + mw / 2)) $((myy + mh - 10)) 1
        wait_for 5 icons_gone && how="chosen with a click on the last entry"
    fi
fi
if [ -z "$how" ]; then
    not_ok "$name" "the icons are still shown"
elif ! wait_tivlo_gone 5; then
    not_ok "$name" "icons gone but the process still runs"
else
    gone_icons=$(($(now_ms) - t0))
    ok "$name" "$how; icons gone after $gone_icons ms, process after $(($(now_ms) - t0)) ms"
fi
