# A first start on an empty store writes the 18 default values.
name="first start writes the 18 default values"
if ! start_and_wait_icons 40; then
    not_ok "$name" "the two tray icons did not appear within 40 s"
    return
fi
got=$(reg_dump)
want=$(expected_defaults)
if [ "$got" = "$want" ]; then
    ok "$name"
else
    not_ok "$name" "store differs: $(diff <(echo "$want") <(echo "$got") | grep '^[<>]' | tr '\n' ';')"
fi
