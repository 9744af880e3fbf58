# The help beside the program. The tray's "&Help" asks the shell for it (the smoke build
# records the request in effects.log instead); opened through the product's shell service, the
# recorded file shows a window with the help's title and its contents list. (Without a browser
# engine Wine's help viewer draws no page body; the smoke runs have none.) The grab window's
# "&Help" says "Cannot find help file !" only while the file is missing.
# The tray menu is used before any window opens: once another window has been active, Wine may
# keep a right click on the tray icon from opening the menu.
SMOKE_EFFECTS_EXPECTED=1
project="$here/../docs/help/tivlo.hhp"
help_name=$(sed -n 's/^Compiled file=//p' "$project" | tr -d '\r')
title=$(sed -n 's/^Title=//p' "$project" | tr -d '\r')
pages=$(sed -n 's/.*name="Name" value="\([^"]*\)".*/\1/p' "$here/../docs/help/contents.hhc")
log="$SMOKE_EXE_DIR/effects.log"
if ! cp "$build/help/$help_name" "$SMOKE_EXE_DIR/"; then
    not_ok "help" "the build made no $help_name"
    return
fi

# help_tool open|contents|texts ARG: runs the tool in the program's desktop; prints what it wrote.
help_tool() { desktop_tool tivlo_help_window.exe "help.$1" "$1" "$2"; }
contents_shown() { shown=$(help_tool contents "$title") && [ "$shown" = "$pages" ]; }
box_up() { window_up 'Tivlo 2\.3'; }
box_gone() { ! box_up; }

name="the tray's Help opens the help"
want="ShellExecute open $(win_path "$SMOKE_EXE_DIR")\\$help_name"
if ! start_and_wait_icons 40; then
    not_ok "$name" "the two tray icons did not appear within 40 s"
    return
fi
choose_tray_item h && wait_line 10 ShellExecute "$log"
asked=$(tr -d '\r' <"$log" 2>/dev/null)
: >"$log"

grab_name="the grab window's Help finds the file, and says so when it is missing"
if ! open_from_tray p 'Resource Grabbing Setting' 15; then
    not_ok "$grab_name" "no grab window from the tray: $TRAY_WHY"
else
    sleep 1
    read -r GX GY < <(grab_origin)
    click $((GX + 450)) $((GY + 241)) 1 # "&Help"
    wait_line 5 ShellExecute "$log"
    sleep 2
    there=$(if box_up; then echo "a box"; else echo "no box"; fi)
    mv "$SMOKE_EXE_DIR/$help_name" "$SMOKE_TMP/"
    click $((GX + 450)) $((GY + 241)) 1
    missing="no box"
    if wait_for 10 box_up; then
        sleep 1
        missing="a box saying \"$(help_tool texts 'Tivlo 2.3' | tr '\n' ';')\""
        screenshot "$SMOKE_TMP/missing.png" && keep_file "$SMOKE_TMP/missing.png"
    fi
    press Return
    wait_for 5 box_gone
    mv "$SMOKE_TMP/$help_name" "$SMOKE_EXE_DIR/"
    requests=$(grep -c ShellExecute "$log")
    if [ "$there" != "no box" ] || [[ "$missing" != *"Cannot find help file !;"* ]] || [ "$requests" -ne 2 ]; then
        not_ok "$grab_name" "with the file: $there; without it: $missing; $requests requests to the shell"
    else
        ok "$grab_name" "no box while it is there; once it is gone, $missing"
    fi
fi

if [ "$asked" != "$want" ]; then
    not_ok "$name" "effects.log: ${asked:-nothing} (want $want)"
    return
fi
answer=$(help_tool open "${asked#ShellExecute open }")
shown=
if [ "${answer:-0}" -le 32 ]; then
    not_ok "$name" "the shell answered ${answer:-nothing}"
elif ! wait_for 20 window_up "$title"; then
    not_ok "$name" "no window \"$title\" within 20 s"
elif ! wait_for 20 contents_shown; then
    not_ok "$name" "contents list: $(printf %s "$shown" | tr '\n' ';') (want $(printf %s "$pages" | tr '\n' ';'))"
else
    ok "$name" "\"$title\" with $(printf '%s\n' "$pages" | wc -l) pages listed"
fi
screenshot "$SMOKE_TMP/help.png" && keep_file "$SMOKE_TMP/help.png"
