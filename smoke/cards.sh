# Helpers of the card game's smoke cases: the game window opened from the tray, the table
# found on the screen, and card pictures recognised by their exact pixels against the sheets
# that the build exported (build/cards/*.bmp).
#
# Positions given to the helpers are table pixels; TX and TY hold where the table's top-left
# pixel is on the screen.

CARDS_DIR="$build/cards"
GAME_TITLE="Fortune-telling"

# open_game: clicks "&Fortune-telling", the third of the seven items, in the tray menu (keys
# may not reach the menu once a window of ours has closed); 0 when the game's window is up.
open_game() {
    local y
    open_tray_menu || return 1
    menu_settled
    [ "$(menu_text_lines "$SMOKE_TMP/menu.png")" -eq 7 ] || return 1
    y=$(menu_line_y "$SMOKE_TMP/menu.png" 3)
    xdotool mousemove --sync $((mxx + mw / 2)) "$y"
    sleep 0.3
    xdotool click 1
    wait_for 10 window_up "$GAME_TITLE"
}

game_closed() { ! window_up "$GAME_TITLE"; }

# start_dealt_game NAME: starts the program, reads the card sheets, opens the game and finds its
# dealt table in $SMOKE_TMP/deal.png; otherwise says "not ok" for NAME and fails.
start_dealt_game() {
    local why=
    if ! start_and_wait_icons 40; then
        why="the two tray icons did not appear within 40 s"
    elif ! card_signatures; then
        why="cannot read the exported sheets in $CARDS_DIR"
    elif ! open_game; then
        keep_file "$SMOKE_TMP/menu.png" menu-failed.png
        why="no \"$GAME_TITLE\" window after choosing the tray item"
    else
        sleep 1
        screenshot "$SMOKE_TMP/deal.png"
        keep_file "$SMOKE_TMP/deal.png" dealt-table.png
        table_origin "$SMOKE_TMP/deal.png" && return 0
        why="no dealt table on the screen"
    fi
    not_ok "$1" "$why"
    return 1
}

# drag_from_column0: presses 30 right of and 40 below the corner of column 0's top card and
# moves it, the button held, in five steps to (200, 230).
drag_from_column0() {
    local k x y
    read -r x y < <(at 30 60)
    xdotool mousemove --sync "$x" "$y"
    sleep 0.2
    xdotool mousedown 1
    for k in 1 2 3 4 5; do
        read -r x y < <(at $((30 + 34 * k)) $((60 + 34 * k)))
        xdotool mousemove --sync "$x" "$y"
        sleep 0.05
    done
    sleep 0.5
}

# menu_settled: a new $SMOKE_TMP/menu.png once the opened menu has had time to draw all its
# items (the first change seen on the screen may be a menu still being drawn). The pointer
# leaves the icon first, beside the menu so that no item is lit: left on the icon, it brings up
# the icon's tip over the menu's last items.
menu_settled() {
    mouse_to $((mxx - 30)) $((myy + 10))
    sleep 0.5
    screenshot "$SMOKE_TMP/menu.png"
}

# menu_text_lines PNG: the lines of black text in the tray menu found by open_tray_menu (a
# disabled item's text is grey). Rows of text less than 4 rows apart are one line, so an
# access key's underline counts with its letters.
menu_text_lines() {
    ascii_crop "$1" "$mxx" "$myy" "$mw" "$mh" |
        awk '/#/ { if (NR - last > 4 || !seen) lines++; seen = 1; last = NR } END { print lines + 0 }'
}
# menu_line_y PNG N: the screen y of the middle of the menu's Nth line of black text.
menu_line_y() {
    ascii_crop "$1" "$mxx" "$myy" "$mw" "$mh" |
        awk -v n="$2" -v top="$myy" '
            /#/ { if (NR - last > 4 || !seen) { lines++; first[lines] = NR }; seen = 1; last = NR; end[lines] = NR }
            END { print top + int((first[n] + end[n]) / 2) - 1 }'
}

# table_origin PNG: sets TX TY from a freshly dealt table, whose rows 116 to 149 are black
# across the whole width of 355 pixels (and nothing else on the screen is that wide and black).
table_origin() {
    local found
    found=$(convert "$1" -fill white +opaque black -colorspace gray -depth 8 -compress none pgm:- |
        awk '/^#/ { next }
             { for (i = 1; i <= NF; i++) tok[n++] = $i }
             END { w = tok[1]; h = tok[2]; k = 4
                   for (y = 0; y < h; y++) { run = 0
                       for (x = 0; x < w; x++) {
                           if (tok[k + y * w + x] == 0) { if (++run == 355) { print x - 354, y; exit } }
                           else run = 0 } } }')
    [ -n "$found" ] || return 1
    read -r TX TY <<<"$found"
    TY=$((TY - 116))
}

# Table point X Y on the screen, for xdotool.
at() { echo $((TX + $1)) $((TY + $2)); }

# card_signatures: the pixel signature of every face cell (by card number) and back design.
card_signatures() {
    local k
    convert "$CARDS_DIR/cards_face.bmp" -crop 71x96 +repage "$SMOKE_TMP/face_%02d.png" || return 1
    convert "$CARDS_DIR/cards_back.bmp" -crop 71x96 +repage "$SMOKE_TMP/back_%d.png" || return 1
    : >"$SMOKE_TMP/faces.sig"
    for k in $(seq 0 51); do
        # Tiles run along the rows: suit by suit, Ace to King; a card is 4 x point + suit.
        echo "$(identify -format '%#' "$SMOKE_TMP/face_$(printf %02d "$k").png") $((4 * (k % 13) + k / 13))" \
            >>"$SMOKE_TMP/faces.sig"
    done
}

# face_at PNG X Y: the number of the card whose face lies wholly at table (X, Y); nothing
# when no face matches exactly.
face_at() {
    local sig
    sig=$(convert "$1" -crop "71x96+$((TX + $2))+$((TY + $3))" +repage png:- | identify -format '%#' -)
    awk -v s="$sig" '$1 == s { print $2; exit }' "$SMOKE_TMP/faces.sig"
}

# back_diff PNG X Y W H DESIGN: pixels of the W x H block at table (X, Y) that differ from the
# same block of back design DESIGN as the sheet holds it.
back_diff() {
    convert "$1" -crop "$4x$5+$((TX + $2))+$((TY + $3))" +repage "$SMOKE_TMP/diff_a.png" &&
        convert "$SMOKE_TMP/back_$6.png" -crop "$4x$5+0+0" +repage "$SMOKE_TMP/diff_b.png" &&
        compare -metric AE "$SMOKE_TMP/diff_a.png" "$SMOKE_TMP/diff_b.png" null: 2>&1 | cut -d' ' -f1
}

# black_block PNG X Y W H: 0 when the block at table (X, Y) is all black.
black_block() {
    [ "$(convert "$1" -crop "$4x$5+$((TX + $2))+$((TY + $3))" +repage -fill white +opaque black \
        -format '%[fx:mean]' info:)" = 0 ]
}
