# The image viewer's Delete: the shell's confirmation answered with Return sends the file to the
# trash and the next picture shows; the PNG just shown goes too (no lock left on it); Escape
# keeps the file, the viewer and its picture as they were. The box is waited for with a limit.
# screen: 800x700
name="image viewer delete"
PICS="$SMOKE_TMP/pics"
TRASH="$HOME/.local/share/Trash/files"
viewer_pictures "$PICS"

confirm_up() { window_up 'Confirm file deletion'; }
confirm_gone() { ! confirm_up; }
# answer KEY: the shell's confirmation box, waited for with a time limit and answered with the
# key over it; 0 once it closed. It must lie wholly on the screen. The first box is kept: the X
# window tree and a screenshot. (Under Wine a pop-up over another window of the same program
# stays black in screenshots whoever owns it, as a bare MessageBoxA does, though it is on top,
# active and takes its keys.)
answer() {
    wait_for 10 confirm_up || return 1
    local x y w h
    read -r x y w h < <(window_geometry 'Confirm file deletion')
    [ "${w:-0}" -gt 0 ] && [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le "$SCREEN_W" ] &&
        [ $((y + h)) -le "$SCREEN_H" ] || note "the confirmation box at ${w}x$h+$x+$y"
    mouse_to $((x + w / 2)) $((y + 10))
    sleep 0.5
    if [ ! -f "$SMOKE_TMP/confirm.png" ]; then
        xwininfo -root -tree >"$SMOKE_TMP/confirm-tree.txt" 2>&1
        keep_file "$SMOKE_TMP/confirm-tree.txt" viewer-confirm-tree.txt
        screenshot "$SMOKE_TMP/confirm.png" && keep_file "$SMOKE_TMP/confirm.png" viewer-confirm.png
    fi
    press "$1"
    wait_for 10 confirm_gone
}

if ! viewer_open "$PICS"; then
    not_ok "$name" "$VIEWER_WHY"
    return
fi
step End d-pic.gif End
step Prior c-alpha.png "Page Up"
step Prior broken.jpg "Page Up"

press Delete
if answer Return; then
    wait_for 5 showing c-alpha.png || note "after deleting broken.jpg: \"$(caption)\""
    [ -f "$TRASH/broken.jpg" ] && [ ! -e "$PICS/broken.jpg" ] || note "broken.jpg is not in the trash"
    viewer_pointer
    press Delete
    if answer Return; then
        wait_for 5 showing d-pic.gif || note "after deleting the PNG: \"$(caption)\""
        [ -f "$TRASH/c-alpha.png" ] && [ ! -e "$PICS/c-alpha.png" ] || note "the PNG just shown is not in the trash"
    else
        note "no confirmation for the PNG"
    fi
    viewer_pointer
    shot before-escape
    press Delete
    if answer Escape; then
        sleep 1
        shot after-escape
        [ -f "$PICS/d-pic.gif" ] || note "Escape deleted the file"
        viewer_up || note "Escape in the confirmation closed the viewer"
        showing d-pic.gif || note "Escape changed the viewer: \"$(caption)\""
        [ "$(differ "$SMOKE_TMP/before-escape-area.png" "$SMOKE_TMP/after-escape-area.png")" = 0 ] ||
            note "Escape in the confirmation changed the picture"
    else
        note "no confirmation for the GIF"
    fi
else
    screenshot "$SMOKE_TMP/noconfirm.png" && keep_file "$SMOKE_TMP/noconfirm.png"
    note "no \"Confirm file deletion\" box within 10 s"
fi

if [ -n "$fail" ]; then
    not_ok "$name" "$fail"
else
    ok "$name" "two deletions to the trash, one declined"
fi
