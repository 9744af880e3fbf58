# The image viewer opened from the grab window's first thumbnail: the fitted picture and its
# caption, navigation by keys and wheel, a turn and a mirror, an unreadable file, and Escape
# closing the viewer only. (Deletion, the slide show and panning have cases of their own.)
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

# ---- Escape closes the viewer only ----
press Escape
wait_for 5 viewer_gone || note "Escape did not close the viewer"
sleep 1
grab_up || note "the grab window closed too"

if [ -n "$fail" ]; then
    not_ok "$name" "$fail"
else
    ok "$name" "fitted $fitted in 668x$VA, keys and wheel, turned $turned and mirrored, broken.jpg black, the PNG over white, Escape"
fi
