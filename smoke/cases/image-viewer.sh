# The image viewer opened from the grab window's first thumbnail: the fitted picture and its
# caption, navigation by keys and wheel, a turn and a mirror, an unreadable file, deletion to
# the trash with Wine's confirmation (Return, again on the PNG just shown, and Escape), the
# slide show, panning at Full Size, and Escape closing the viewer only.
# The viewer's designed window is taller than 600 pixels, so the desktop has room for it:
# screen: 800x700
name="image viewer"
TIVLO_RUN_LIMIT=170
PICS="$SMOKE_TMP/pics"
TRASH="$HOME/.local/share/Trash/files"
mkdir -p "$PICS"
# Sorted by name the JPEG is the first entry. No picture holds black, so what is not black in
# the viewer is the picture (the PNG's transparent background shows white).
convert -seed 1 -size 800x600 plasma:fractal -resize 4000x3000! +level 20%,100% -quality 90 "$PICS/a-big.jpg"
convert -size 400x300 gradient:red-blue -fill yellow -draw 'rectangle 0,0 99,49' "BMP3:$PICS/b-small.bmp"
echo "not a picture" >"$PICS/broken.jpg"
convert -size 300x200 xc:none -fill '#00aa00' -draw 'circle 150,100 150,20' "PNG32:$PICS/c-alpha.png"
convert -seed 3 -size 200x150 plasma:fractal +level 20%,100% "$PICS/d-pic.gif"
folder=$(win_path "$PICS")
store=$(expected_defaults | grep -v '^ResSetting\\Download_File_Folder=')
reg_put_store "$store
ResSetting\\Download_File_Folder=$folder (REG_SZ)"

viewer_id() { xdotool search --onlyvisible --name 'pics\\[^\\]*$' 2>/dev/null | head -n 1; }
viewer_up() { [ -n "$(viewer_id)" ]; }
viewer_gone() { ! viewer_up; }
caption() { local id; id=$(viewer_id); [ -n "$id" ] && xdotool getwindowname "$id"; }
showing() { [ "$(caption)" = "$folder\\$1" ]; }
# step KEYS NAME WHAT: presses the keys and waits for NAME in the caption.
step() { press $1; wait_for 5 showing "$2" || note "$3: showing \"$(caption)\", want $2"; }
# Ctrl+KEY: the viewer acts on the key's release, so Ctrl is held until the key is up.
ctrl() { xdotool keydown ctrl key "$1" keyup ctrl; }
# The client area's top left (668 x 602 below the menu bar, as designed) as "VX VY", and the
# picture area's height VA: the rows above the status bar, found in a screenshot as the black
# rows of the client's left column.
viewer_layout() {
    local x y w h
    read -r x y w h < <(id_geometry "$(viewer_id)") || return 1
    VX=$((x + (w - 668) / 2))
    VY=$((y + h - 602 - (w - 668) / 2))
    screenshot "$SMOKE_TMP/layout.png" || return 1
    VA=$(convert "$SMOKE_TMP/layout.png" -crop "1x602+$((VX + 1))+$VY" +repage txt:- |
        awk -F'[,:]' '/#000000/ { last = $2 } END { print last + 1 }')
}
# shot NAME: a screenshot after the viewer settled, kept, and its picture area cut out.
shot() {
    sleep 1.2
    screenshot "$SMOKE_TMP/$1.png" && keep_file "$SMOKE_TMP/$1.png" "viewer-$1.png"
    convert "$SMOKE_TMP/$1.png" -crop "668x$VA+$VX+$VY" +repage "$SMOKE_TMP/$1-area.png"
}
# The box "WxH+X+Y" of what is not black in a picture area; "0x0" when all of it is black.
picture_box() {
    convert "$1" -bordercolor black -border 1 -fuzz 3% -format '%@' info: 2>/dev/null |
        awk -F'[x+]' '$1 == 0 { print "0x0"; next } { printf "%dx%d+%d+%d", $1, $2, $3 - 1, $4 - 1 }'
}
# Differing pixels of two pictures.
differ() { compare -metric AE -fuzz 3% "$1" "$2" null: 2>&1 | cut -d' ' -f1 | cut -d. -f1; }
confirm_up() { window_up 'Confirm file deletion'; }
confirm_gone() { ! confirm_up; }
# answer KEY: the shell's confirmation box, waited for with a time limit and answered with the
# key over it; 0 once it closed. It must lie wholly on the screen. Under Wine a pop-up over
# another window of the same program stays black in screenshots whoever owns it (a bare
# MessageBoxA does the same), though it is on top, active and takes its keys.
answer() {
    wait_for 10 confirm_up || return 1
    local x y w h
    read -r x y w h < <(window_geometry 'Confirm file deletion')
    [ "${w:-0}" -gt 0 ] && [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le "$SCREEN_W" ] &&
        [ $((y + h)) -le "$SCREEN_H" ] || note "the confirmation box at ${w}x$h+$x+$y"
    mouse_to $((x + w / 2)) $((y + 10))
    sleep 0.5
    if [ ! -f "$SMOKE_TMP/confirm.png" ]; then
        echo "the confirmation box: ${w}x$h at $x,$y" >"$SMOKE_TMP/confirm.txt"
        keep_file "$SMOKE_TMP/confirm.txt" viewer-confirm.txt
        screenshot "$SMOKE_TMP/confirm.png" && keep_file "$SMOKE_TMP/confirm.png" viewer-confirm.png
    fi
    press "$1"
    wait_for 10 confirm_gone
}

if ! start_and_open p 'Resource Grabbing Setting' 15; then
    not_ok "$name" "$TRAY_WHY"
    return
fi
sleep 2
read -r GX GY < <(grab_origin)
click $((GX + 65)) $((GY + 368)) 1
if ! wait_for 20 viewer_up; then
    screenshot "$SMOKE_TMP/noviewer.png" && keep_file "$SMOKE_TMP/noviewer.png"
    not_ok "$name" "no viewer after a click on the first thumbnail"
    return
fi
sleep 1
if ! viewer_layout || [ "${VA:-0}" -lt 400 ]; then
    screenshot "$SMOKE_TMP/nolayout.png" && keep_file "$SMOKE_TMP/nolayout.png"
    not_ok "$name" "no picture area in the viewer (height ${VA:-none})"
    return
fi
fail=""
note() { fail="${fail:+$fail; }$1"; }
# Keys go to the window under the pointer: it stays over the picture area.
mouse_to $((VX + 334)) $((VY + VA / 2))

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

# ---- deletion: Return sends the file to the trash, the one that followed shows; the PNG just
# shown goes too (no lock left on it); Escape keeps the file and the viewer as they were ----
press Delete
if answer Return; then
    wait_for 5 showing c-alpha.png || note "after deleting broken.jpg: \"$(caption)\""
    [ -f "$TRASH/broken.jpg" ] && [ ! -e "$PICS/broken.jpg" ] || note "broken.jpg is not in the trash"
    mouse_to $((VX + 334)) $((VY + VA / 2))
    press Delete
    if answer Return; then
        wait_for 5 showing d-pic.gif || note "after deleting the PNG: \"$(caption)\""
        [ -f "$TRASH/c-alpha.png" ] && [ ! -e "$PICS/c-alpha.png" ] || note "the PNG just shown is not in the trash"
    else
        note "no confirmation for the PNG"
    fi
    mouse_to $((VX + 334)) $((VY + VA / 2))
    shot before-escape
    press Delete
    if answer Escape; then
        sleep 1
        shot after-escape
        [ -f "$PICS/d-pic.gif" ] || note "Escape deleted the file"
        viewer_up || note "Escape in the confirmation closed the viewer"
        showing d-pic.gif || note "Escape changed the viewer: \"$(caption)\""
        [ "$(differ "$SMOKE_TMP/before-escape-area.png" "$SMOKE_TMP/after-escape-area.png")" = 0 ] ||
            note "Escape in the confirmation changed the picture"
    else
        note "no confirmation for the GIF"
    fi
else
    screenshot "$SMOKE_TMP/noconfirm.png" && keep_file "$SMOKE_TMP/noconfirm.png"
    note "no \"Confirm file deletion\" box within 10 s"
fi
mouse_to $((VX + 334)) $((VY + VA / 2))

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
    ok "$name" "fitted $fitted in 668x$VA, keys and wheel, turned $turned and mirrored, broken.jpg black, two deletions to the trash and one declined, slide after $slide_ms ms, panned to the corner, Escape"
fi
