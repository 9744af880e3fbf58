# The two tray icons show the current hour and minutes, pixel for pixel as the same text
# drawn by tivlo_icontext.exe.
name="tray icons show the time"
ICONTEXT=$SMOKE_EXE_DIR/tivlo_icontext.exe
TOLERANCE=${SMOKE_ICON_TOLERANCE:-0}

# best_match REGION_FILE MASK_FILE X0 Y0 NOMX NOMY: the smallest count of differing pixels
# between the 16 x 16 mask and the region at offsets within 3 pixels of the nominal place.
# Prints "mismatch x y" (screen coordinates of the best place).
best_match() {
    awk -v x0="$3" -v y0="$4" -v nx="$5" -v ny="$6" '
        FNR == 1 { f++ }
        f == 1 { reg[FNR - 1] = $0; next }
        f == 2 { mask[FNR - 1] = $0; next }
        END {
            best = 999; bx = nx; by = ny
            for (dy = -3; dy <= 3; dy++) for (dx = -3; dx <= 3; dx++) {
                ox = nx + dx - x0; oy = ny + dy - y0; miss = 0
                for (y = 0; y < 16; y++) for (x = 0; x < 16; x++) {
                    a = substr(reg[oy + y], ox + x + 1, 1)
                    if (a == "") a = "."
                    if (a != substr(mask[y], x + 1, 1)) miss++
                }
                if (miss < best) { best = miss; bx = nx + dx; by = ny + dy }
            }
            print best, bx, by
        }' "$1" "$2"
}

if [ ! -f "$ICONTEXT" ]; then
    not_ok "$name" "no $ICONTEXT to render the expected text"
    return
fi
if ! start_and_wait_icons 40; then
    not_ok "$name" "the two icons did not appear within 40 s"
    return
fi
mouse_away
result=
for attempt in 1 2 3; do
    # Keep clear of second 00, when the program redraws.
    case $(date +%S) in 58 | 59 | 00 | 01) sleep 3 ;; esac
    before=$(date +%I:%M:%p)
    screenshot "$SMOKE_TMP/icons.png"
    after=$(date +%I:%M:%p)
    [ "$before" = "$after" ] || continue
    hh=${before%%:*}
    rest=${before#*:}
    mm=${rest%%:*}
    ap=${rest#*:}
    letter=$(echo "${ap:0:1}" | tr 'AP' 'ap')
    wine_t 60 "$ICONTEXT" "MS Sans Serif" 8.25 0 2 "$hh:" | tr -d '\r' >"$SMOKE_TMP/hour.txt"
    wine_t 60 "$ICONTEXT" "MS Sans Serif" 8.25 -1 2 "$mm" "MS Serif" 8.25 11 2 "$letter" |
        tr -d '\r' >"$SMOKE_TMP/minute.txt"
    ax=$((ICON_X_LEFT - 8))
    ay=$((ICON_Y - 6))
    ascii_crop "$SMOKE_TMP/icons.png" $ax $ay $((800 - ax)) $((600 - ay)) >"$SMOKE_TMP/region.txt"
    read -r hmiss hx hy < <(best_match "$SMOKE_TMP/region.txt" "$SMOKE_TMP/hour.txt" $ax $ay \
        $ICON_X_LEFT $ICON_Y)
    read -r mmiss mx my < <(best_match "$SMOKE_TMP/region.txt" "$SMOKE_TMP/minute.txt" $ax $ay \
        $ICON_X_RIGHT $ICON_Y)
    result="\"$hh:\" at $hx,$hy: $hmiss px differ; \"$mm$letter\" at $mx,$my: $mmiss px differ"
    break
done
if [ -z "$result" ]; then
    not_ok "$name" "the minute changed during every screenshot"
elif [ "$(wc -l <"$SMOKE_TMP/hour.txt")" -ne 16 ] || [ "$(wc -l <"$SMOKE_TMP/minute.txt")" -ne 16 ]; then
    not_ok "$name" "tivlo_icontext gave no 16 x 16 mask"
elif [ "$hmiss" -le "$TOLERANCE" ] && [ "$mmiss" -le "$TOLERANCE" ]; then
    keep_file "$SMOKE_TMP/icons.png" tray.png
    ok "$name" "$result"
else
    keep_file "$SMOKE_TMP/icons.png" tray-failed.png
    {
        echo "# expected hour / minute masks, then the screen region:"
        paste -d' ' "$SMOKE_TMP/hour.txt" "$SMOKE_TMP/minute.txt"
        cat "$SMOKE_TMP/region.txt"
    } | sed 's/^/#   /' >&2
    not_ok "$name" "$result"
fi
