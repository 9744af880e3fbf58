# The card game: Alt+N pressed while a card is dragged deals anew, and the release that follows,
# where a drop would land on the pile, leaves the new deal as it was dealt with no floating card.
# shellcheck source=../cards.sh
. "$here/cards.sh"

name="a new deal during a drag ends the drag, and the release leaves the deal untouched"
start_dealt_game "$name" || return
dealt=$(face_at "$SMOKE_TMP/deal.png" 0 20)

# Gripped 30 right of and 40 below the corner of column 0's top card, dragged to (200, 230).
drag_from_column0
screenshot "$SMOKE_TMP/drag.png"
floating=$(face_at "$SMOKE_TMP/drag.png" 170 190)
press alt+n
sleep 1
# The new deal is on the screen at once, with the floating card gone, the button still down.
screenshot "$SMOKE_TMP/dealt.png"
keep_file "$SMOKE_TMP/dealt.png" at-alt-n.png
# On, with the button still down, to where the card's corner would lie at (10, 290) on the
# pile's start card, and released there.
for k in 1 2 3; do
    read -r x y < <(at $((200 - 53 * k)) $((230 + 33 * k)))
    xdotool mousemove --sync "$x" "$y"
    sleep 0.05
done
xdotool mouseup 1
sleep 1
# The pointer off the table, so nothing of it is in the picture.
mouse_away
sleep 0.5
shot="$SMOKE_TMP/after.png"
screenshot "$shot"
keep_file "$shot" after-release.png

# fresh_deal PNG: appends to bad what differs from a fresh deal in back design 0 (four strips
# and a face per column, 26 backs in the stock, the start card alone on the pile, six distinct
# faces and black between); sets faces to the six faces.
fresh_deal() {
    local c r i d f
    faces=()
    for c in 0 1 2 3 4; do
        for r in 0 1 2 3; do
            d=$(back_diff "$1" $((71 * c)) $((5 * r)) 71 5 0)
            [ "$d" = 0 ] || bad+=("$2: column $c strip $r: $d px")
        done
        f=$(face_at "$1" $((71 * c)) 20)
        [ -n "$f" ] || bad+=("$2: column $c: no face at y 20")
        faces+=("$f")
        black_block "$1" $((71 * c)) 116 71 34 || bad+=("$2: column $c: not black below its card")
    done
    for i in $(seq 0 24); do
        d=$(back_diff "$1" $((10 * i)) 150 10 96 0)
        [ "$d" = 0 ] || bad+=("$2: stock card $i: $d px")
    done
    d=$(back_diff "$1" 250 150 71 96 0)
    [ "$d" = 0 ] || bad+=("$2: stock top: $d px")
    black_block "$1" 321 150 34 96 || bad+=("$2: right of the stock is not black")
    f=$(face_at "$1" 0 280)
    [ -n "$f" ] || bad+=("$2: no start card at (0, 280)")
    faces+=("$f")
    black_block "$1" 71 246 284 130 || bad+=("$2: the pile holds more than its start card")
    [ "$(printf '%s\n' "${faces[@]}" | grep . | sort -u | wc -l | tr -d ' ')" = 6 ] ||
        bad+=("$2: faces ${faces[*]} are not six distinct cards")
}

bad=()
[ -n "$dealt" ] && [ "$floating" = "$dealt" ] || bad+=("no floating card $dealt during the drag (saw '$floating')")
fresh_deal "$SMOKE_TMP/dealt.png" "at Alt+N"
first=("${faces[@]}")
fresh_deal "$shot" "after the release"
[ "${faces[*]}" = "${first[*]}" ] || bad+=("the deal changed at the release: ${first[*]} became ${faces[*]}")
if [ ${#bad[@]} -eq 0 ]; then
    ok "$name" "dragged $floating; the new deal shows faces ${faces[*]}"
else
    keep_file "$SMOKE_TMP/drag.png" mid-drag.png
    not_ok "$name" "$(IFS=';'; echo "${bad[*]}")"
fi
