# The card game opened from the tray: the dealt table, a double-click on the stock and a drag.
# shellcheck source=../cards.sh
. "$here/cards.sh"

name="the game opens from the tray with a dealt table"
start_dealt_game "$name" || return
shot="$SMOKE_TMP/deal.png"
bad=()
declare -a face
for c in 0 1 2 3 4; do
    for r in 0 1 2 3; do
        d=$(back_diff "$shot" $((71 * c)) $((5 * r)) 71 5 0)
        [ "$d" = 0 ] || bad+=("column $c strip $r: $d px")
    done
    face[c]=$(face_at "$shot" $((71 * c)) 20)
    [ -n "${face[c]}" ] || bad+=("column $c: no face at y 20")
done
for i in $(seq 0 24); do
    d=$(back_diff "$shot" $((10 * i)) 150 10 96 0)
    [ "$d" = 0 ] || bad+=("stock card $i: $d px")
done
start=$(face_at "$shot" 0 280)
[ -n "$start" ] || bad+=("no start card at (0, 280)")
if [ ${#bad[@]} -eq 0 ]; then
    ok "$name" "table at $TX,$TY; faces ${face[*]}, start card $start"
else
    not_ok "$name" "$(IFS=';'; echo "${bad[*]}")"
fi

name="the stock's cards are back design 0 to the pixel"
d0=$(back_diff "$shot" 0 150 10 96 0)
d25=$(back_diff "$shot" 250 150 71 96 0)
if [ "$d0" = 0 ] && [ "$d25" = 0 ]; then
    ok "$name" "0 px differ at stock positions 0 and 25"
else
    not_ok "$name" "$d0 px differ at stock position 0, $d25 at position 25"
fi

name="a double-click puts the stock's top card on the pile"
read -r x y < <(at 285 200)
xdotool mousemove --sync "$x" "$y" click --repeat 2 --delay 60 1
sleep 1
screenshot "$SMOKE_TMP/double.png"
played=$(face_at "$SMOKE_TMP/double.png" 10 280)
d=$(back_diff "$SMOKE_TMP/double.png" 240 150 71 96 0)
if [ -n "$played" ] && [ "$d" = 0 ] && black_block "$SMOKE_TMP/double.png" 311 150 10 96; then
    ok "$name" "card $played at pile x 10; the stock ends at x 310"
else
    keep_file "$SMOKE_TMP/double.png" double-click-failed.png
    not_ok "$name" "pile card at x 10: '${played}'; new stock top differs by $d px"
fi

name="a dragged card floats above the table and goes back to its column"
drag_from_column0
screenshot "$SMOKE_TMP/drag.png"
keep_file "$SMOKE_TMP/drag.png" mid-drag.png
# Gripped 30 right of and 40 below the card's corner, the pointer now at (200, 230).
floating=$(face_at "$SMOKE_TMP/drag.png" 170 190)
below=$(back_diff "$SMOKE_TMP/drag.png" 0 15 71 96 0)
xdotool mouseup 1
sleep 0.7
screenshot "$SMOKE_TMP/dropped.png"
back=$(face_at "$SMOKE_TMP/dropped.png" 0 20)
if [ "$floating" = "${face[0]}" ] && [ "$below" = 0 ] && [ "$back" = "${face[0]}" ]; then
    ok "$name" "card $floating"
else
    keep_file "$SMOKE_TMP/dropped.png" dropped-failed.png
    not_ok "$name" "floating '$floating', card below differs from a back by $below px, in the column '$back' (dealt ${face[0]})"
fi
