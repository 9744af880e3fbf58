# "&Alarm Schedule" opened ten times from the tray and closed with E&xit: the process holds as
# many GDI and USER objects after the tenth closing as after the first. The item is clicked: a
# tray menu takes no keys once a window of the program has closed.
# limit: 180
name="the schedule dialog gives back its objects each time it closes"
export TIVLO_COUNTS=1
sound_device null
dialog_up() { window_up 'Alarm Schedule Setting'; }
dialog_gone() { ! dialog_up; }
open_dialog() {
    open_tray_menu || return 1
    click $((mxx + mw / 2)) $((myy + 10)) 1
    wait_for 10 dialog_up
}
close_dialog() {
    schedule_origin || return 1
    schedule_at $((6480 + 450)) $((4200 + 127))
    wait_for 10 dialog_gone
}
counts() { desktop_tool "$SMOKE_EXE_DIR/tivlo_objcounts.exe" counts.txt; }

if ! start_and_wait_icons 40; then
    not_ok "$name" "the two tray icons did not appear within 40 s"
    return
fi
first=
for i in $(seq 10); do
    if ! open_dialog; then
        screenshot "$SMOKE_TMP/not-opened.png" && keep_file "$SMOKE_TMP/not-opened.png"
        not_ok "$name" "opening $i: no dialog"
        return
    fi
    sleep 0.5
    if ! close_dialog; then
        screenshot "$SMOKE_TMP/not-closed.png" && keep_file "$SMOKE_TMP/not-closed.png"
        not_ok "$name" "closing $i: the dialog stays"
        return
    fi
    sleep 0.5
    if [ "$i" -eq 1 ]; then
        first=$(counts) || { not_ok "$name" "no counts from the program"; return; }
        smoke_log "after closing 1: $first"
    fi
done
last=$(counts) || { not_ok "$name" "no counts from the program"; return; }
smoke_log "after closing 10: $last"
read -r _ g1 _ u1 _ < <(echo "$first")
read -r _ g10 _ u10 _ < <(echo "$last")
if [ -n "$g1" ] && [ "$g1" -gt 0 ] && [ "$u1" -gt 0 ] && [ "$g1" = "$g10" ] && [ "$u1" = "$u10" ]; then
    ok "$name" "GDI $g1, USER $u1 after the first and the tenth closing"
else
    not_ok "$name" "after the first closing: $first; after the tenth: $last"
fi
