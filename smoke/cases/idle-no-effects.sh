# A program left running with its timers ticking, then ended from the menu, never tries to
# lock input, shut down or set the clock.
name="no effect attempted while running"
if ! start_and_wait_icons 40; then
    not_ok "$name" "the two tray icons did not appear within 40 s"
    return
fi
sleep 5
if open_tray_menu; then
    mouse_to $((mxx + mw / 2)) $((myy + 10))
    sleep 0.3
    press x
    wait_tivlo_gone 5
fi
if [ -e "$SMOKE_EXE_DIR/effects.log" ]; then
    SMOKE_EFFECTS_EXPECTED=1  # reported here, not again by the runner
    not_ok "$name" "effects.log: $(head -c 300 "$SMOKE_EXE_DIR/effects.log" | tr '\n' ';')"
elif [ "$(tivlo_count)" -gt 0 ]; then
    not_ok "$name" "the program did not end from its menu"
else
    ok "$name" "ran 5 s, ended from its menu"
fi
