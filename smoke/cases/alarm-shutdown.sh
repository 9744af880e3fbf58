# A "Shut down computer" alarm: the warning box appears and about 60 s later the shut-down is
# attempted (the smoke build only writes it to effects.log).
name="shut-down alarm warns, then shuts down a minute later"
SMOKE_EFFECTS_EXPECTED=1
log="$SMOKE_EXE_DIR/effects.log"
rm -f "$log"

due=$(date -d '+6 sec' +%H:%M:%S)
put_alarms "Save your work/Once/$(date '+%b %d , %Y')/$due//Shut down computer/1/0/"

if ! start_and_wait_icons 40; then
    not_ok "$name" "the two tray icons did not appear within 40 s"
    return
fi
if ! wait_for 30 window_up "Tivlo 2.3"; then
    not_ok "$name" "no warning box within 30 s of $due"
    return
fi
warned=$SECONDS
screenshot "$SMOKE_TMP/warning.png" && keep_file "$SMOKE_TMP/warning.png" warning.png
ok "the warning box appears"

if wait_for 80 grep -q '^ExitWindowsEx 13 4294967295' "$log"; then
    took=$((SECONDS - warned))
    if [ "$took" -ge 50 ] && [ "$took" -le 70 ]; then
        ok "the shut-down comes a minute after the warning" "$took s"
    else
        not_ok "the shut-down comes a minute after the warning" "after $took s"
    fi
else
    not_ok "the shut-down comes a minute after the warning" "effects.log: $(tr '\n' ';' <"$log" 2>/dev/null)"
fi
if head -n 1 "$log" 2>/dev/null | grep -qx 'BlockInput 0'; then
    ok "the input is unlocked before the warning"
else
    not_ok "the input is unlocked before the warning" "effects.log: $(tr '\n' ';' <"$log" 2>/dev/null)"
fi
