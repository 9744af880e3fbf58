# A restarted taskbar forgets every notification icon and broadcasts "TaskbarCreated": the
# program puts both icons back at once.
name="icons come back when the taskbar restarts"
# restart_tool forget|announce: runs the tool in the program's desktop; prints what it wrote.
restart_tool() { desktop_tool tivlo_taskbar_restart.exe "taskbar-restart.$1" "$1" | tr -d '\n'; }
if ! start_and_wait_icons 40; then
    not_ok "$name" "the two tray icons did not appear within 40 s"
    return
fi
removed=$(restart_tool forget)
if [ "$removed" != 2 ] || ! wait_for 5 icons_gone; then
    not_ok "$name" "could not take the icons away (removed: $removed)"
    return
fi
t0=$(now_ms)
restart_tool announce >/dev/null
if wait_for 5 icons_shown; then
    keep_file "$SMOKE_TMP/poll.png" taskbar-restart.png
    ok "$name" "back $(($(now_ms) - t0)) ms after the broadcast"
else
    screenshot "$SMOKE_TMP/after.png" && keep_file "$SMOKE_TMP/after.png" taskbar-restart-failed.png
    not_ok "$name" "the icons did not come back within 5 s"
fi
