# A second start ends at once, shows no window and writes nothing.
name="second start ends at once"
if ! start_and_wait_icons 40 || [ "$(tivlo_count)" -ne 1 ]; then
    not_ok "$name" "the first instance is not running"
    return
fi
first=$(tivlo_pids)
before=$(reg_dump)
mouse_away
sleep 0.3
screenshot "$SMOKE_TMP/base.png"
t0=$(now_ms)
wine_t 30 explorer "/desktop=$SMOKE_DESKTOP" "$SMOKE_EXE" >>"$SMOKE_TMP/wine.log" 2>&1
# The launcher returns at once; watch the second program come and go.
seen=0
age_ms=?
shown=
end=$((SECONDS + 10))
while [ $SECONDS -lt $end ]; do
    now=$(tivlo_pids)
    if [ "$now" != "$first" ]; then
        seen=1
        for p in $now; do
            [ "$p" = "$first" ] && continue
            age=$(proc_age_ms "$p") && age_ms=$age  # the last value seen: its life so far
        done
    fi
    screenshot "$SMOKE_TMP/second.png" &&
        read -r cw ch cx cy < <(changed_box "$SMOKE_TMP/base.png" "$SMOKE_TMP/second.png") &&
        [ "${cw:-0}" -gt 1 ] && shown="${cw}x${ch} at $cx,$cy"
    [ $seen -eq 1 ] && [ "$now" = "$first" ] && break
    [ $seen -eq 0 ] && [ $(($(now_ms) - t0)) -gt 5000 ] && break
done
took=$(($(now_ms) - t0))
after=$(reg_dump)
if [ "$(tivlo_pids)" != "$first" ]; then
    not_ok "$name" "instances running after 10 s: $(tivlo_pids | tr '\n' ' ')"
elif [ "$before" != "$after" ]; then
    not_ok "$name" "the store changed"
elif [ -n "$shown" ]; then
    keep_file "$SMOKE_TMP/second.png" second-failed.png
    not_ok "$name" "something showed on the desktop: $shown"
elif [ $seen -eq 0 ]; then
    ok "$name" "its process was never caught running, store unchanged"
else
    ok "$name" "gone $took ms after the launch, its process lived at least $age_ms ms, no window, store unchanged"
fi
