# "A&bout..." opens the About box; the link lights up under the pointer and goes back to cyan
# when it leaves; a click opens the address (recorded in effects.log by the smoke build); OK
# closes the box.
name="About box with its hover link"
SMOKE_EFFECTS_EXPECTED=1

# color_box PNG COLOUR: "w h x y" of the pixels of exactly that colour ("0 0 ..." if none).
color_box() {
    convert "$1" -alpha off -fill black +opaque "$2" -fill white -opaque "$2" \
        -format '%@\n' info: 2>/dev/null | sed 's/[x+]/ /g'
}
about_up() { window_up 'About Tivlo 2\.3'; }

if ! start_and_open b 'About Tivlo 2\.3'; then
    not_ok "$name" "$TRAY_WHY"
    return
fi
mouse_away
sleep 0.5
screenshot "$SMOKE_TMP/about.png" && keep_file "$SMOKE_TMP/about.png" about.png
read -r lw lh lx ly < <(color_box "$SMOKE_TMP/about.png" 'rgb(0,255,255)')
if [ "${lw:-0}" -lt 40 ]; then
    not_ok "$name" "no cyan link text in the box (${lw:-0}x${lh:-0})"
    return
fi

# Over the link: blue, underlined (a row of blue as wide as the text, below it).
xdotool mousemove --sync $((lx + lw / 2)) $((ly + lh / 2))
sleep 0.5
screenshot "$SMOKE_TMP/hover.png" && keep_file "$SMOKE_TMP/hover.png" about-hover.png
read -r hw hh hx hy < <(color_box "$SMOKE_TMP/hover.png" 'rgb(0,0,255)')
read -r cw _ < <(color_box "$SMOKE_TMP/hover.png" 'rgb(0,255,255)')
# The most blue of any row of the hovered text, as a share of its width.
underline=$(convert "$SMOKE_TMP/hover.png" -crop "${hw}x${hh}+${hx}+${hy}" +repage -alpha off \
    -fill black +opaque 'rgb(0,0,255)' -fill white -opaque 'rgb(0,0,255)' -scale "1x${hh}!" \
    -format '%[fx:maxima.r]' info: 2>/dev/null)
# Away again: cyan, no underline (no blue left).
mouse_away
sleep 0.5
screenshot "$SMOKE_TMP/left.png"
read -r bw _ < <(color_box "$SMOKE_TMP/left.png" 'rgb(0,0,255)')
read -r aw _ < <(color_box "$SMOKE_TMP/left.png" 'rgb(0,255,255)')

# A click opens the address once.
click $((lx + lw / 2)) $((ly + lh / 2)) 1
sleep 1
effects=$(tr -d '\r' <"$SMOKE_EXE_DIR/effects.log" 2>/dev/null)

# A click on OK closes the box. The two grey rules frame the row above it: the button is
# centred under the lower rule, its middle 25 pixels below it.
about_gone() { ! about_up; }
read -r gw gh gx gy < <(color_box "$SMOKE_TMP/about.png" 'rgb(128,128,128)')
okx=$((gx + gw / 2)) oky=$((gy + gh - 1 + 25))
click $okx $oky 1
closed=no
wait_for 3 about_gone && closed=yes
if [ "$closed" != yes ]; then
    screenshot "$SMOKE_TMP/stuck.png" && keep_file "$SMOKE_TMP/stuck.png" about-stuck.png
    closed="no (rules ${gw:-0}x${gh:-0} at ${gx:-}, ${gy:-}; clicked at $okx,$oky)"
fi

if [ "${hw:-0}" -lt $((lw - 2)) ] || [ "${cw:-0}" -gt 1 ]; then
    not_ok "$name" "hovered link not blue: blue ${hw:-0}x${hh:-0}, cyan left ${cw:-0} wide"
elif ! awk -v u="${underline:-0}" 'BEGIN { exit !(u > 0.9) }'; then
    not_ok "$name" "hovered link not underlined (bottom row ${underline:-?} blue)"
elif [ "${bw:-0}" -gt 1 ] || [ "${aw:-0}" -ne "$lw" ]; then
    not_ok "$name" "after leaving: blue ${bw:-0} wide, cyan ${aw:-0} wide (was $lw)"
elif [ "$effects" != "ShellExecute (default) https://tivlo.invalid/" ]; then
    not_ok "$name" "effects.log after the click: $(printf %s "$effects" | tr '\n' ';')"
elif [ "$closed" != yes ]; then
    not_ok "$name" "the box stayed open after a click on OK: $closed"
else
    ok "$name" "link ${lw}x${lh} at $lx,$ly; blue and underlined under the pointer, cyan again after; one ShellExecute; closed by OK"
fi
