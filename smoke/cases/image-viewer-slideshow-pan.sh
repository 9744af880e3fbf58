# The image viewer's slide show (the next picture after 3 s, and Ctrl+S stops it) and panning
# at Full Size by drags, on to the picture's corner and no further.
# screen: 800x700
name="image viewer slide show and panning"
PICS="$SMOKE_TMP/pics"
viewer_pictures "$PICS"

if ! viewer_open "$PICS"; then
    not_ok "$name" "$VIEWER_WHY"
    return
fi
showing a-big.jpg || note "caption \"$(caption)\""

# ---- the slide show: the next picture after 3 s, and it stops ----
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

if [ -n "$fail" ]; then
    not_ok "$name" "$fail"
else
    ok "$name" "slide after $slide_ms ms, panned to the corner"
fi
