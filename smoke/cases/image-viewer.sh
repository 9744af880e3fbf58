# The image viewer opened from the grab window's first thumbnail: the fitted picture and its
# caption, navigation by keys and wheel, a turn and a mirror, an unreadable file, the slide show,
# panning at Full Size, and Escape closing the viewer only. (Deletion is image-viewer-delete.)
# The viewer's designed window is taller than 600 pixels, so the desktop has room for it:
# screen: 800x700
name="image viewer"
PICS="$SMOKE_TMP/pics"
viewer_pictures "$PICS"

if ! viewer_open "$PICS"; then
    not_ok "$name" "$VIEWER_WHY"
    return
fi

# ---- opening: the 4000 x 3000 JPEG fitted and centred ----
shot opened
showing a-big.jpg || note "caption \"$(caption)\""
fitted=$(picture_box "$SMOKE_TMP/opened-area.png")
read -r fw fh fx fy < <(echo "$fitted" | tr 'x+' '  ')
case "${fw}x$fh" in
668x501 | 640x480) ;;
*) note "fitted JPEG at $fitted in 668x$VA" ;;
esac
# Centred: the margins on either side differ by at most a pixel.
[ $((668 - fw - 2 * fx)) -ge -1 ] && [ $((668 - fw - 2 * fx)) -le 1 ] &&
    [ $((VA - fh - 2 * fy)) -ge -1 ] && [ $((VA - fh - 2 * fy)) -le 1 ] ||
    note "fitted JPEG not centred: $fitted in 668x$VA"

# ---- navigation: keys, the wheel (forward is Previous, backward Next), wrapping ----
step Next b-small.bmp "Page Down"
xdotool click 5
wait_for 5 showing broken.jpg || note "wheel backward: \"$(caption)\""
xdotool click 4
wait_for 5 showing b-small.bmp || note "wheel forward: \"$(caption)\""
step End d-pic.gif End
step Next a-big.jpg "Page Down from the last"
step Prior d-pic.gif "Page Up from the first"
step Home a-big.jpg Home

# ---- a quarter turn and a mirror of the 400 x 300 BMP ----
step Next b-small.bmp "Page Down"
shot bmp
ctrl r
shot turned
turned=$(picture_box "$SMOKE_TMP/turned-area.png")
[ "${turned%%+*}" = 300x400 ] || note "turned BMP at $turned"
# Clockwise: the yellow corner goes from the top left to the top right.
yellow=$(convert "$SMOKE_TMP/turned-area.png" -crop "$turned" +repage \
    -format '%[fx:p{w-10,10}.r>0.8 && p{w-10,10}.g>0.8 && p{w-10,10}.b<0.3]' info: 2>/dev/null)
[ "$yellow" = 1 ] || note "after Ctrl+R the yellow corner is not at the top right"
ctrl h
shot mirrored
convert "$SMOKE_TMP/turned-area.png" -flop "$SMOKE_TMP/turned-flop.png"
mirror_diff=$(differ "$SMOKE_TMP/turned-flop.png" "$SMOKE_TMP/mirrored-area.png")
[ "${mirror_diff:-x}" -lt 50 ] 2>/dev/null || note "Ctrl+H is not the mirror image: $mirror_diff pixels differ"

# ---- the unreadable file: black, and the next picture shows ----
step Next broken.jpg "Page Down"
shot broken
broken=$(picture_box "$SMOKE_TMP/broken-area.png")
[ "$broken" = 0x0 ] || note "broken.jpg shows $broken"
step Next c-alpha.png "Page Down after broken.jpg"
shot alpha
alpha=$(picture_box "$SMOKE_TMP/alpha-area.png")
# Its transparent background composited over white, the green circle in the middle.
ax=${alpha#*+} ax=${ax%+*} ay=${alpha##*+}
alpha_px=$(convert "$SMOKE_TMP/alpha-area.png" -alpha off -format \
    "%[hex:p{$((ax + 3)),$((ay + 3))}] %[hex:p{$((ax + 150)),$((ay + 100))}]" info: 2>/dev/null)
[ "${alpha%%+*}" = 300x200 ] && [ "$alpha_px" = "FFFFFF 00AA00" ] ||
    note "the PNG at $alpha, corner and centre $alpha_px"
step Prior broken.jpg "Page Up"

# ---- the slide show: the next picture after 3 s, and it stops ----
step Home a-big.jpg Home
ctrl s
t0=$(now_ms)
wait_for 8 showing b-small.bmp || note "no slide within 8 s: \"$(caption)\""
slide_ms=$(($(now_ms) - t0))
# The 3-s timer, give or take the polling of a loaded machine.
[ "$slide_ms" -ge 2500 ] && [ "$slide_ms" -le 5000 ] || note "the first slide came after $slide_ms ms"
ctrl s
sleep 0.5
before=$(caption)
sleep 4
[ "$(caption)" = "$before" ] || note "the slide show did not stop: \"$before\" then \"$(caption)\""

# ---- panning at Full Size: a drag moves the JPEG, and it stops with its edge on the area's ----
step Home a-big.jpg Home
press 0
# Drawing the natural-size picture takes a while on a loaded machine.
covered() { shot full && [ "$(picture_box "$SMOKE_TMP/full-area.png")" = "668x$VA+0+0" ]; }
wait_for 10 covered || note "Full Size leaves black: $(picture_box "$SMOKE_TMP/full-area.png")"
cx=$((VX + 334)) cy=$((VY + VA / 2))
drag() {  # DX DY in steps of a tenth
    local i
    xdotool mousemove --sync "$cx" "$cy" mousedown 1
    for i in 1 2 3 4 5 6 7 8 9 10; do
        xdotool mousemove --sync $((cx + $1 * i / 10)) $((cy + $2 * i / 10))
        sleep 0.05
    done
    xdotool mouseup 1
    sleep 0.2
}
drag -200 -100
shot dragged
moved=$(differ "$SMOKE_TMP/full-area.png" "$SMOKE_TMP/dragged-area.png")
[ "${moved:-0}" -gt 10000 ] 2>/dev/null || note "the drag did not pan ($moved pixels changed)"
# On to the bottom right corner: 3332 x (3000 - VA) pixels away at most.
for _ in $(seq 14); do drag -300 -300; done
shot edge
drag -300 -300
drag -300 0
shot past
still=$(differ "$SMOKE_TMP/edge-area.png" "$SMOKE_TMP/past-area.png")
[ "${still:-x}" = 0 ] || note "the picture moved past its edge ($still pixels changed)"
edge=$(picture_box "$SMOKE_TMP/edge-area.png")
[ "$edge" = "668x$VA+0+0" ] || note "at the edge black shows: $edge"
# The bottom right corner of the picture is on the area's: against the file's own corner.
convert "$PICS/a-big.jpg" -gravity SouthEast -crop 100x100+0+0 +repage "$SMOKE_TMP/corner-file.png"
convert "$SMOKE_TMP/edge-area.png" -gravity SouthEast -crop 100x100+0+0 +repage "$SMOKE_TMP/corner-shown.png"
corner=$(compare -metric AE -fuzz 8% "$SMOKE_TMP/corner-file.png" "$SMOKE_TMP/corner-shown.png" null: 2>&1 | cut -d' ' -f1 | cut -d. -f1)
[ "${corner:-x}" -lt 500 ] 2>/dev/null || note "the area's corner is not the picture's ($corner of 10000 pixels differ)"

# ---- Escape closes the viewer only ----
press Escape
wait_for 5 viewer_gone || note "Escape did not close the viewer"
sleep 1
grab_up || note "the grab window closed too"

if [ -n "$fail" ]; then
    not_ok "$name" "$fail"
else
    ok "$name" "fitted $fitted in 668x$VA, keys and wheel, turned $turned and mirrored, broken.jpg black, slide after $slide_ms ms, panned to the corner, Escape"
fi
