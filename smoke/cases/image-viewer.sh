# The image viewer opened from the grab window's first thumbnail: the picture and its caption,
# a turn with Ctrl+R, and Escape closing the viewer only.
name="image viewer"
PICS="$SMOKE_TMP/pics"
mkdir -p "$PICS"
# Sorted by name, the JPEG is the first entry; no black in it, so the trimmed box is the picture.
convert -size 400x300 gradient:red-blue -fill yellow -draw 'rectangle 0,0 99,49' -quality 90 \
    "$PICS/a-pic.jpg"
convert -size 300x200 xc:'#00aa00' "PNG32:$PICS/b-pic.png"
folder=$(win_path "$PICS")
store=$(expected_defaults | grep -v '^ResSetting\\Download_File_Folder=')
reg_put_store "$store
ResSetting\\Download_File_Folder=$folder (REG_SZ)"

viewer_id() { xdotool search --onlyvisible --name 'pics\\.*\.(jpg|png)$' 2>/dev/null | head -n 1; }
viewer_up() { [ -n "$(viewer_id)" ]; }
viewer_gone() { ! viewer_up; }
caption() { local id; id=$(viewer_id); [ -n "$id" ] && xdotool getwindowname "$id"; }
# The picture area's top left on the screen, as "x y". The window may reach past the screen's
# bottom edge, so the area's top is found in a screenshot: the first black row below the menu.
viewer_origin() {
    local x y X Y WIDTH
    eval "$(xdotool getwindowgeometry --shell "$(viewer_id)" | grep -E '^(X|Y|WIDTH)=')"
    x=$((X + (WIDTH - 668) / 2))
    screenshot "$SMOKE_TMP/origin.png" || return 1
    y=$(convert "$SMOKE_TMP/origin.png" -crop "1x200+$((x + 2))+$Y" +repage txt:- |
        awk -F'[,:]' '/#000000/ { print $2; exit }')
    echo "$x $((Y + y))"
}
# The size "WxH" of what is not black in the picture area of a screenshot: its top 520 rows
# (the status bar below it may be on the screen's bottom edge).
picture_size() {
    convert "$1" -crop "668x520+$VX+$VY" +repage -fuzz 3% -trim -format '%wx%h' info: 2>/dev/null
}
shot() {
    sleep 1.5
    screenshot "$SMOKE_TMP/$1.png" && keep_file "$SMOKE_TMP/$1.png" "viewer-$1.png"
}
# 1 when the picture's corner at 10 pixels from its top right is yellow.
yellow_top_right() {
    convert "$1" -crop "668x520+$VX+$VY" +repage -fuzz 3% -trim +repage \
        -format '%[fx:p{w-10,10}.r>0.8 && p{w-10,10}.g>0.8 && p{w-10,10}.b<0.3]' info: 2>/dev/null
}
landscape() { local w=${1%x*} h=${1#*x}; [ "$w" -gt "$h" ] 2>/dev/null; }
portrait() { local w=${1%x*} h=${1#*x}; [ "$h" -gt "$w" ] 2>/dev/null; }

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
read -r VX VY < <(viewer_origin)
[ -n "$VY" ] || { not_ok "$name" "no picture area in the viewer"; return; }
fail=""
note() { fail="${fail:+$fail; }$1"; }

shot opened
want="$folder\\a-pic.jpg"
[ "$(caption)" = "$want" ] || note "caption \"$(caption)\", want \"$want\""
size=$(picture_size "$SMOKE_TMP/opened.png")
landscape "$size" || note "opened picture at $size"

# The viewer acts on the key's release, so Ctrl is held until R is up.
xdotool keydown ctrl key r keyup ctrl
shot turned
turned=$(picture_size "$SMOKE_TMP/turned.png")
portrait "$turned" || note "after Ctrl+R the picture is $turned (was $size)"
# A quarter turn clockwise takes the yellow corner from the top left to the top right.
[ "$(yellow_top_right "$SMOKE_TMP/turned.png")" = 1 ] ||
    note "after Ctrl+R the yellow corner is not at the top right"

press Escape
wait_for 5 viewer_gone || note "Escape did not close the viewer"
sleep 1
grab_up || note "the grab window closed too"

if [ -n "$fail" ]; then not_ok "$name" "$fail"; else ok "$name" "caption, $size turned clockwise to $turned, Escape"; fi
