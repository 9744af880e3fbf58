# The card game's "&Change Back" through the eight designs into the registry, and the tray
# item while the window is open, after it closes and at a second opening.
# shellcheck source=../cards.sh
. "$here/cards.sh"

name="Change Back shows each of the eight designs and stores it"
start_dealt_game "$name" || return
# The button lies at (108, 8) of the game's control, whose origin is 10, 42 above the table's.
read -r bx by < <(at $((108 - 10 + 50)) $((8 - 42 + 11)))
bad=()
stored=
for k in 1 2 3 4 5 6 7 8; do
    # A pixel apart each time: a synced move to where the pointer already is waits long.
    xdotool mousemove --sync "$bx" $((by + k % 2)) click 1
    sleep 0.7
    screenshot "$SMOKE_TMP/back.png"
    design=$((k % 8))
    [ $k -le 2 ] && keep_file "$SMOKE_TMP/back.png" "back-$design.png"
    d=$(back_diff "$SMOKE_TMP/back.png" 250 150 71 96 $design)
    [ "$d" = 0 ] || bad+=("click $k: stock top differs from design $design by $d px")
    if [ $k -eq 1 ]; then
        stored=$(reg_dump | grep -F 'PokerSetting\Card_Back=')
        [ "$stored" = 'PokerSetting\Card_Back=1 (REG_SZ)' ] || bad+=("after one click the store holds '$stored'")
    fi
done
final=$(reg_dump | grep -F 'PokerSetting\Card_Back=')
[ "$final" = 'PokerSetting\Card_Back=0 (REG_SZ)' ] || bad+=("after eight clicks the store holds '$final'")
if [ ${#bad[@]} -eq 0 ]; then
    ok "$name" "designs 1 to 7 and 0 in turn; $stored"
else
    not_ok "$name" "$(IFS=';'; echo "${bad[*]}")"
fi

name="the tray item is disabled while the game is open"
# A click on the desktop first, so the game's caption is already drawn inactive when the
# menu's opening is told from the screen.
click 600 300 1
sleep 0.5
if open_tray_menu; then
    menu_settled
    keep_file "$SMOKE_TMP/menu.png" menu-while-open.png
    lines=$(menu_text_lines "$SMOKE_TMP/menu.png")
    press Escape
    sleep 0.5
    # Seven items; the game's is greyed.
    if [ "$lines" -eq 6 ]; then
        ok "$name" "6 of the 7 items in black"
    else
        not_ok "$name" "$lines of the 7 items in black"
    fi
else
    not_ok "$name" "the tray menu did not open"
fi

name="closing the game enables the tray item, and it opens again with a new deal"
# The close box, at the right end of the caption.
eval "$(xdotool search --onlyvisible --name "^$GAME_TITLE\$" getwindowgeometry --shell | grep -E '^(X|Y|WIDTH)=')"
click $((X + WIDTH - 12)) $((Y + 11)) 1
if ! wait_for 10 game_closed; then
    not_ok "$name" "the window did not close from its close box"
    return
fi
click 600 300 1
sleep 0.3
if open_game; then
    keep_file "$SMOKE_TMP/menu.png" menu-after-close.png
    lines=$(menu_text_lines "$SMOKE_TMP/menu.png")
    sleep 1
    screenshot "$SMOKE_TMP/again.png"
    keep_file "$SMOKE_TMP/again.png" second-opening.png
    if [ "$lines" -ne 7 ]; then
        not_ok "$name" "$lines of the 7 items in black after the close"
    elif table_origin "$SMOKE_TMP/again.png" && [ "$(back_diff "$SMOKE_TMP/again.png" 250 150 71 96 0)" = 0 ] &&
        [ -n "$(face_at "$SMOKE_TMP/again.png" 0 280)" ]; then
        ok "$name"
    else
        not_ok "$name" "the second opening shows no dealt table with back design 0"
    fi
else
    not_ok "$name" "no window after choosing the item again"
fi
