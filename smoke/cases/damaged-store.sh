# A damaged store: the error box, then the end, with nothing written.
name="damaged store shows the error and ends"
reg_put_store "$(expected_defaults | sed 's/^Image\\Images_Width=300 /Image\\Images_Width=40000 /')"
before=$(reg_dump)
case "$before" in
*'Image\Images_Width=40000 (REG_SZ)'*) ;;
*)
    not_ok "$name" "could not set Images_Width"
    return
    ;;
esac
tivlo_start
if ! wait_for 30 window_up 'Tivlo 2\.3'; then
    not_ok "$name" "no window named \"Tivlo 2.3\" within 30 s"
    return
fi
sleep 0.5
screenshot "$SMOKE_TMP/errorbox.png"
if icons_shown; then note="icons shown behind the box"; else note="no icons"; fi
# The box can be mapped a moment before it takes keys: press again if need be.
for try in 1 2 3; do
    press Return
    wait_tivlo_gone 3 && break
done
if [ "$(tivlo_count)" -gt 0 ]; then
    keep_file "$SMOKE_TMP/errorbox.png"
    not_ok "$name" "Return did not close the box ($note)"
    return
fi
after=$(reg_dump)
if [ "$before" != "$after" ]; then
    not_ok "$name" "the store changed: $(diff <(echo "$before") <(echo "$after") | grep '^[<>]' | tr '\n' ';')"
else
    ok "$name" "store unchanged, $note, Return pressed $try time(s)"
fi
