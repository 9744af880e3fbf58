#!/bin/bash
# Smoke tests of the real program under Wine, in a virtual desktop on a private Xvfb.
# Usage: smoke/run-smoke.sh <path-to-tivlo-smoke.exe>
# Needs tivlo_icontext.exe next to the exe (or TIVLO_ICONTEXT=<path>) for the icon check.
# Prints one "ok - name" / "not ok - name: reason" line per case, then "N passed, M failed".

if [ -z "${SMOKE_UNDER_TIMEOUT:-}" ]; then
    # A generous limit on the whole run, so a hang can never block the caller.
    SMOKE_UNDER_TIMEOUT=1 exec timeout -k 10 "${SMOKE_TOTAL_LIMIT:-420}" "$0" "$@"
fi

set -u
here=$(dirname "$(readlink -f "$0")")
. "$here/lib.sh"

[ $# -eq 1 ] || { echo "usage: $0 <path-to-tivlo-smoke.exe>" >&2; exit 2; }
wine_setup "$1" || exit 2
ICONTEXT=${TIVLO_ICONTEXT:-$SMOKE_EXE_DIR/tivlo_icontext.exe}
EFFECTS="$SMOKE_EXE_DIR/effects.log"
KEEP_PNG="$SMOKE_EXE_DIR/smoke-tray.png"
TOLERANCE=${SMOKE_ICON_TOLERANCE:-0}

passed=0
failed=0
ok() { echo "ok - $1${2:+ ($2)}"; passed=$((passed + 1)); }
not_ok() { echo "not ok - $1: $2"; failed=$((failed + 1)); }
started=$SECONDS

# Ends whatever is left of a start, so the next case begins on an empty desktop.
stop_all() {
    if [ "$(tivlo_count)" -gt 0 ]; then
        timeout -k 2 20 wineserver -k >/dev/null 2>&1
        sleep 0.5
    fi
    wait_launcher 5 || true
}

# The 18 values written when no store exists, as reg_dump prints them.
expected_defaults() {
    local folder
    folder=$(winepath -w "$SMOKE_EXE_DIR" 2>/dev/null | tr -d '\r')
    {
        for v in GIF_Download JPG_Download JPEG_Download BMP_Download PNG_Download; do
            echo "Image\\$v=True (REG_SZ)"
        done
        echo 'Image\Limited_Images_Resolution=False (REG_SZ)'
        echo 'Image\Limited_Images_Size=False (REG_SZ)'
        echo 'Image\Images_Width=300 (REG_SZ)'
        echo 'Image\Images_Height=300 (REG_SZ)'
        echo 'Image\Images_File_Size=10 (REG_SZ)'
        echo 'ResSetting\Disp_Window_AfterGrabbing=True (REG_SZ)'
        echo 'ResSetting\Download_File_Name=Catch (REG_SZ)'
        echo "ResSetting\\Download_File_Folder=$folder (REG_SZ)"
        echo 'TimeSetting\Day_Mode=1 (REG_SZ)'
        echo 'TimeSetting\AM/PM_Mode=1 (REG_SZ)'
        echo 'TimeSetting\AlarmNum=0 (REG_SZ)'
        echo 'TimeSetting\DispColor=0 (REG_SZ)'
        echo 'PokerSetting\Card_Back=0 (REG_SZ)'
    } | LC_ALL=C sort
}

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

# ---------------------------------------------------------------------------------------------
rm -f "$EFFECTS" "$SMOKE_EXE_DIR/smoke-tray-failed.png"  # leftovers of an older run
stop_all
reg_delete_store
if [ -n "$(reg_dump)" ]; then
    echo "cannot empty the store" >&2
    exit 2
fi

# a) first start on an empty store writes the defaults.
tivlo_start
if wait_for 40 icons_shown; then shown=1; else shown=0; fi
got=$(reg_dump)
want=$(expected_defaults)
if [ "$got" = "$want" ]; then
    ok "first start writes the 18 default values"
else
    not_ok "first start writes the 18 default values" \
        "store differs: $(diff <(echo "$want") <(echo "$got") | grep '^[<>]' | tr '\n' ';')"
fi

# b) the two icons show the current hour and minutes.
if [ $shown -eq 0 ]; then
    not_ok "tray icons show the time" "the two icons did not appear within 40 s"
elif [ ! -f "$ICONTEXT" ]; then
    not_ok "tray icons show the time" "no $ICONTEXT to render the expected text"
else
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
        not_ok "tray icons show the time" "the minute changed during every screenshot"
    elif [ "$(wc -l <"$SMOKE_TMP/hour.txt")" -ne 16 ] || [ "$(wc -l <"$SMOKE_TMP/minute.txt")" -ne 16 ]; then
        not_ok "tray icons show the time" "tivlo_icontext gave no 16 x 16 mask"
    elif [ "$hmiss" -le "$TOLERANCE" ] && [ "$mmiss" -le "$TOLERANCE" ]; then
        cp "$SMOKE_TMP/icons.png" "$KEEP_PNG"
        ok "tray icons show the time" "$result"
    else
        cp "$SMOKE_TMP/icons.png" "$SMOKE_EXE_DIR/smoke-tray-failed.png"
        {
            echo "# expected hour / minute masks, then the screen region:"
            paste -d' ' "$SMOKE_TMP/hour.txt" "$SMOKE_TMP/minute.txt"
            cat "$SMOKE_TMP/region.txt"
        } | sed 's/^/#   /' >&2
        not_ok "tray icons show the time" "$result"
    fi
fi

# c) a second start ends at once, shows no window and writes nothing.
if [ "$(tivlo_count)" -ne 1 ]; then
    not_ok "second start ends at once" "the first instance is not running"
else
    first=$(tivlo_pids)
    before=$(reg_dump)
    mouse_away
    sleep 0.3
    screenshot "$SMOKE_TMP/base.png"
    t0=$(now_ms)
    wine_t 30 explorer "/desktop=$SMOKE_DESKTOP" "$SMOKE_EXE" >>"$SMOKE_TMP/wine.log" 2>&1
    # The launcher returns at once; watch the second program come and go.
    seen=0
    age_ms=?
    shown=
    end=$((SECONDS + 10))
    while [ $SECONDS -lt $end ]; do
        now=$(tivlo_pids)
        if [ "$now" != "$first" ]; then
            seen=1
            for p in $now; do
                [ "$p" = "$first" ] && continue
                age=$(proc_age_ms "$p") && age_ms=$age  # the last value seen: its life so far
            done
        fi
        screenshot "$SMOKE_TMP/second.png" &&
            read -r cw ch cx cy < <(changed_box "$SMOKE_TMP/base.png" "$SMOKE_TMP/second.png") &&
            [ "${cw:-0}" -gt 1 ] && shown="${cw}x${ch} at $cx,$cy"
        [ $seen -eq 1 ] && [ "$now" = "$first" ] && break
        [ $seen -eq 0 ] && [ $(($(now_ms) - t0)) -gt 5000 ] && break
    done
    took=$(($(now_ms) - t0))
    after=$(reg_dump)
    if [ "$(tivlo_pids)" != "$first" ]; then
        not_ok "second start ends at once" "instances running after 10 s: $(tivlo_pids | tr '\n' ' ')"
    elif [ "$before" != "$after" ]; then
        not_ok "second start ends at once" "the store changed"
    elif [ -n "$shown" ]; then
        not_ok "second start ends at once" "something showed on the desktop: $shown"
    elif [ $seen -eq 0 ]; then
        ok "second start ends at once" "its process was never caught running, store unchanged"
    else
        ok "second start ends at once" "gone $took ms after the launch, its process lived at least $age_ms ms, no window, store unchanged"
    fi
fi

# d) a right click opens the menu; Escape closes it.
menu_box() {  # prints "w h x y" of what changed above the taskbar against $SMOKE_TMP/base.png
    screenshot "$SMOKE_TMP/menu.png" && changed_box "$SMOKE_TMP/base.png" "$SMOKE_TMP/menu.png"
}
menu_open() { read -r mw mh mxx myy < <(menu_box) && [ "${mw:-0}" -gt 20 ]; }
menu_closed() { read -r mw mh mxx myy < <(menu_box) && [ "${mw:-0}" -le 1 ]; }
menu_plausible() {  # 10 entries, 3 of them separators, opened at the click point
    [ "$mw" -ge 60 ] && [ "$mw" -le 360 ] && [ "$mh" -ge 100 ] && [ "$mh" -le 320 ] &&
        [ $((mxx + mw)) -ge 760 ] && [ $((myy + mh)) -ge 560 ]
}
clickx=$((ICON_X_RIGHT + 8))
clicky=$((ICON_Y + 8))
mouse_away
sleep 0.5
screenshot "$SMOKE_TMP/base.png"
click $clickx $clicky 3
if ! wait_for 5 menu_open; then
    not_ok "right click opens the menu, Escape closes it" "no menu appeared"
elif ! menu_plausible; then
    not_ok "right click opens the menu, Escape closes it" "changed area ${mw}x${mh} at $mxx,$myy"
else
    box="${mw}x${mh} at $mxx,$myy"
    xdotool mousemove --sync $((mxx + mw / 2)) $((myy + 10))
    sleep 0.3
    press Escape
    if wait_for 3 menu_closed; then
        ok "right click opens the menu, Escape closes it" "menu $box"
    else
        not_ok "right click opens the menu, Escape closes it" "menu $box stayed open after Escape"
        # Close it with a click on the empty desktop, so the next case starts clean.
        click 200 200 1
        wait_for 3 menu_closed || true
    fi
fi

# e) "E&xit" removes both icons and ends the process.
if [ "$(tivlo_count)" -ne 1 ]; then
    not_ok "Exit removes the icons and ends the program" "the program is not running"
else
    mouse_away
    sleep 0.3
    screenshot "$SMOKE_TMP/base.png"
    click $clickx $clicky 3
    how=
    if wait_for 5 menu_open && menu_plausible; then
        xdotool mousemove --sync $((mxx + mw / 2)) $((myy + 10))
        sleep 0.3
        t0=$(now_ms)
        press x  # the item's accelerator
        if wait_for 5 icons_gone; then
            how="chosen with its accelerator key"
        elif menu_open; then
            # Keys did not reach the menu: click the last entry instead.
            t0=$(now_ms)
            click $((mxx + mw / 2)) $((myy + mh - 10)) 1
            wait_for 5 icons_gone && how="chosen with a click on the last entry"
        fi
    fi
    if [ -z "$how" ]; then
        not_ok "Exit removes the icons and ends the program" "the icons are still shown"
    else
        gone_icons=$(($(now_ms) - t0))
        if ! wait_tivlo_gone 5; then
            not_ok "Exit removes the icons and ends the program" "icons gone but the process still runs"
        else
            ok "Exit removes the icons and ends the program" \
                "$how; icons gone after $gone_icons ms, process after $(($(now_ms) - t0)) ms"
        fi
    fi
fi
stop_all

# f) a damaged store: the error box, then the end, with nothing written.
wine_t 60 reg add 'HKLM\Software\Tivlo\Image' /v Images_Width /t REG_SZ /d 40000 /f >/dev/null 2>&1
before=$(reg_dump)
case "$before" in
*'Image\Images_Width=40000 (REG_SZ)'*)
    tivlo_start
    box_up() { xdotool search --onlyvisible --name '^Tivlo 2\.3$' >/dev/null 2>&1; }
    if ! wait_for 30 box_up; then
        not_ok "damaged store shows the error and ends" "no window named \"Tivlo 2.3\" within 30 s"
    else
        sleep 0.5
        screenshot "$SMOKE_TMP/errorbox.png"
        if icons_shown; then
            note="icons shown behind the box"
        else
            note="no icons"
        fi
        # The box can be mapped a moment before it takes keys: press again if need be.
        for try in 1 2 3; do
            press Return
            wait_tivlo_gone 3 && break
        done
        if [ "$(tivlo_count)" -gt 0 ]; then
            not_ok "damaged store shows the error and ends" "Return did not close the box ($note)"
        else
            after=$(reg_dump)
            if [ "$before" != "$after" ]; then
                not_ok "damaged store shows the error and ends" \
                    "the store changed: $(diff <(echo "$before") <(echo "$after") | grep '^[<>]' | tr '\n' ';')"
            else
                ok "damaged store shows the error and ends" "store unchanged, $note, Return pressed $try time(s)"
            fi
        fi
    fi
    ;;
*) not_ok "damaged store shows the error and ends" "could not set Images_Width" ;;
esac
stop_all

# g) no effect was ever attempted.
if [ -e "$EFFECTS" ]; then
    not_ok "no effect attempted" "effects.log: $(head -c 300 "$EFFECTS" | tr '\n' ';')"
else
    ok "no effect attempted"
fi

reg_delete_store  # leave no damaged store behind for the next user of the prefix
echo "# took $((SECONDS - started)) s" >&2
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
