# Shared helpers for the Wine smoke tests and the benchmarks that run the program under Wine.
# Source this file, then call `wine_setup <exe>`; everything started is stopped on exit.
#
# Variables read:
#   TIVLO_WINE_DIR  scratch folder holding the prefix and HOME; reused between runs.
#                   Default: /tmp/tivlo-wine.<hash of the exe's folder>.
#   TIVLO_RUN_LIMIT longest life in seconds of one program start (default 150).

SMOKE_DESKTOP="shell,800x600"
# Where the desktop's taskbar puts the two icons (16 x 16): the first added is rightmost.
ICON_Y=582
ICON_X_RIGHT=782
ICON_X_LEFT=762

smoke_log() { printf '# %s\n' "$*" >&2; }

# The tray digits are drawn in MS Sans Serif; Wine's bitmap fonts are not put into a new prefix.
wine_give_fonts() {
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    [ -d /usr/share/wine/fonts ] && [ -d "$fonts" ] || return 0
    [ -f "$fonts/sserife.fon" ] || cp /usr/share/wine/fonts/*.fon "$fonts/"
}

wine_setup() {
    SMOKE_EXE=$(readlink -f "$1") || return 1
    [ -f "$SMOKE_EXE" ] || { echo "no such exe: $1" >&2; return 1; }
    SMOKE_EXE_DIR=$(dirname "$SMOKE_EXE")
    SMOKE_EXE_NAME=$(basename "$SMOKE_EXE")
    if [ -z "${TIVLO_WINE_DIR:-}" ]; then
        TIVLO_WINE_DIR=/tmp/tivlo-wine.$(printf %s "$SMOKE_EXE_DIR" | md5sum | cut -c1-8)
    fi
    mkdir -p "$TIVLO_WINE_DIR/home" || return 1
    # One run at a time per prefix: two would share one wineserver and one registry.
    exec 9>"$TIVLO_WINE_DIR/lock"
    flock -w 300 9 || { echo "prefix $TIVLO_WINE_DIR is busy" >&2; return 1; }

    export WINEARCH=win32
    export WINEPREFIX="$TIVLO_WINE_DIR/prefix"
    export HOME="$TIVLO_WINE_DIR/home"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
    SMOKE_TMP=$(mktemp -d "$TIVLO_WINE_DIR/run.XXXXXX")
    XVFB_PID=
    SMOKE_LAUNCH_PID=
    trap wine_cleanup EXIT
    trap 'exit 124' TERM INT HUP  # so that a time limit or ^C still runs the clean-up
    start_xvfb || return 1
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        smoke_log "creating the Wine prefix $WINEPREFIX"
        timeout -k 5 240 wineboot -i >"$SMOKE_TMP/wineboot.log" 2>&1 ||
            { echo "wineboot failed" >&2; return 1; }
    fi
    wine_give_fonts
    # Leftovers of an interrupted run would count as running instances.
    timeout -k 2 20 wineserver -k >/dev/null 2>&1
    timeout -k 5 60 wineserver -w
    return 0
}

wine_cleanup() {
    timeout -k 2 20 wineserver -k >/dev/null 2>&1
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
    fi
    [ -n "${SMOKE_TMP:-}" ] && rm -rf "$SMOKE_TMP"
}

# Xvfb on the first free display number from 60 on; the screen is exactly the Wine desktop.
start_xvfb() {
    local n
    for n in $(seq 60 160); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 800x600x24 -nolisten tcp >"$SMOKE_TMP/xvfb.log" 2>&1 &
        XVFB_PID=$!
        local i
        for i in $(seq 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            kill -0 "$XVFB_PID" 2>/dev/null || break
            sleep 0.1
        done
        if kill -0 "$XVFB_PID" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
            export DISPLAY=":$n"
            return 0
        fi
        XVFB_PID=  # lost a race for this number: try the next
    done
    echo "no free X display" >&2
    return 1
}

# wine_t SECONDS ARGS...: wine with a hard time limit.
wine_t() {
    local secs=$1
    shift
    timeout -k 5 "$secs" wine "$@"
}

# Starts the program in the background inside the shell desktop (exe given or the setup one).
tivlo_start() {
    local exe=${1:-$SMOKE_EXE}
    (cd "$(dirname "$exe")" &&
        exec timeout -k 5 "${TIVLO_RUN_LIMIT:-150}" wine explorer "/desktop=$SMOKE_DESKTOP" "$exe") \
        >>"$SMOKE_TMP/wine.log" 2>&1 &
    SMOKE_LAUNCH_PID=$!
}

# The program's own processes in our prefix (not explorer or timeout, whose arguments name it).
tivlo_pids() {
    local p a0 state
    for p in $(pgrep -f -- "$SMOKE_EXE_NAME"); do
        a0=$(tr '\0' '\n' <"/proc/$p/cmdline" 2>/dev/null | head -n 1)
        case "$a0" in *"$SMOKE_EXE_NAME") ;; *) continue ;; esac
        tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
        state=$(sed 's/.*) //' "/proc/$p/stat" 2>/dev/null | cut -d' ' -f1)
        [ -z "$state" ] || [ "$state" = Z ] && continue
        echo "$p"
    done
}

tivlo_count() { tivlo_pids | wc -l; }

# wait_tivlo_gone SECONDS: 0 when no instance is left within the time.
wait_tivlo_gone() {
    local end=$((SECONDS + $1))
    while [ "$(tivlo_count)" -gt 0 ]; do
        [ $SECONDS -ge $end ] && return 1
        sleep 0.2
    done
    return 0
}

# Waits for the launcher of the last start to return (the desktop closes after the program).
wait_launcher() {
    local end=$((SECONDS + ${1:-10}))
    [ -n "$SMOKE_LAUNCH_PID" ] || return 0
    while kill -0 "$SMOKE_LAUNCH_PID" 2>/dev/null; do
        [ $SECONDS -ge $end ] && return 1
        sleep 0.2
    done
    wait "$SMOKE_LAUNCH_PID" 2>/dev/null
    return 0
}

# screenshot PNG. xwd can trip over a window that goes away meanwhile: try again then.
screenshot() {
    local i
    for i in 1 2 3; do
        xwd -root -display "$DISPLAY" 2>/dev/null | convert xwd:- "png:$1" 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}

# changed_box A.png B.png: "w h x y" of the pixels that differ above the taskbar ("0 0 ..." if none).
changed_box() {
    convert "$1" "$2" -compose difference -composite -crop 800x578+0+0 +repage -threshold 1% \
        -format '%@\n' info: 2>/dev/null | sed 's/[x+]/ /g'
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Milliseconds a process has been alive (from its start time in /proc, clock ticks of 1/100 s).
proc_age_ms() {
    local start up
    start=$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | cut -d' ' -f20) || return 1
    [ -n "$start" ] || return 1
    up=$(cut -d' ' -f1 /proc/uptime | tr -d .)
    echo $(((up - start) * 10))
}

# ascii_crop PNG X Y W H: the region as lines of '#' (black pixel) and '.' (anything else).
ascii_crop() {
    convert "$1" -crop "$4x$5+$2+$3" +repage -colorspace gray -depth 8 -compress none pgm:- |
        awk 'BEGIN { n = 0 }
             /^#/ { next }
             { for (i = 1; i <= NF; i++) { tok[n++] = $i } }
             END { w = tok[1]; h = tok[2]; k = 4
                   for (y = 0; y < h; y++) { s = ""
                       for (x = 0; x < w; x++) s = s (tok[k++] < 64 ? "#" : ".")
                       print s } }'
}

# black_count PNG X Y W H: black pixels in the region.
black_count() { ascii_crop "$@" | tr -cd '#' | wc -c; }

# The taskbar is drawn: a stretch of it left of the icons is free of black. (Before the
# desktop shows, the whole root window is black.)
taskbar_shown() { [ "$(black_count "$1" $((ICON_X_LEFT - 60)) $((ICON_Y - 2)) 50 20)" -eq 0 ]; }

# Both icon slots hold some ink on a drawn taskbar.
icons_shown() {
    local png=$SMOKE_TMP/poll.png r l
    screenshot "$png" || return 1
    taskbar_shown "$png" || return 1
    r=$(black_count "$png" $((ICON_X_RIGHT - 1)) $((ICON_Y - 2)) 17 20)
    l=$(black_count "$png" $((ICON_X_LEFT - 1)) $((ICON_Y - 2)) 18 20)
    [ "$r" -ge 4 ] && [ "$r" -le 160 ] && [ "$l" -ge 4 ] && [ "$l" -le 160 ]
}

# Both icon slots are empty on a drawn taskbar (or the desktop has closed).
icons_gone() {
    local png=$SMOKE_TMP/poll.png
    screenshot "$png" || return 1
    if taskbar_shown "$png"; then
        [ "$(black_count "$png" $((ICON_X_LEFT - 4)) $((ICON_Y - 2)) $((800 - ICON_X_LEFT + 4)) 20)" -eq 0 ]
    else
        # The desktop closed once the program ended: no taskbar, so no icons either.
        [ "$(tivlo_count)" -eq 0 ]
    fi
}

# wait_for SECONDS COMMAND...: polls the command until it succeeds.
wait_for() {
    local end=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -ge $end ] && return 1
        sleep 0.3
    done
    return 0
}

click() { xdotool mousemove --sync "$1" "$2" click "$3"; }  # X Y BUTTON
mouse_away() { xdotool mousemove --sync 400 300; }

# Key presses go to the window under the pointer (the X focus is PointerRoot). Wine hands
# them to an open popup menu only once the pointer has been over the menu.
press() { xdotool key "$@"; }

# The whole store as sorted "Key\Name=Data (TYPE)" lines; empty when it does not exist.
reg_dump() {
    wine_t 60 reg query 'HKLM\Software\Tivlo' /s 2>/dev/null | tr -d '\r' |
        awk -F'    ' '/^HKEY_/ { key = $0; sub(/^HKEY_LOCAL_MACHINE\\Software\\Tivlo\\?/, "", key); next }
                      NF >= 3 && $1 == "" { d = $4; for (i = 5; i <= NF; i++) d = d "    " $i
                                            printf "%s\\%s=%s (%s)\n", key, $2, d, $3 }' |
        LC_ALL=C sort
}

reg_delete_store() { wine_t 60 reg delete 'HKLM\Software\Tivlo' /f >/dev/null 2>&1; }
