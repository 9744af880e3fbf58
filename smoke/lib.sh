# Shared helpers for the Wine smoke cases and the benchmarks that run the program under Wine.
#
# Smoke cases (smoke/cases/*.sh) are sourced by smoke/case.sh, which has already set up a
# private Wine prefix, HOME, Xvfb display and a folder of the build's exes for them; see
# docs/architecture.md. Benchmarks source this file and call `wine_setup <exe>`, which does
# the same for one exe; everything started is stopped on exit.
#
# Variables read:
#   TIVLO_RUN_LIMIT  longest life in seconds of one program start (default 150).

. "$(dirname "${BASH_SOURCE[0]}")/wine.sh"

# The tests' own locale, whatever this machine's is (a fresh one may have none): Wine takes its
# code page and its language from it. Debian always has C.UTF-8.
export LC_ALL=C.UTF-8 LANG=C.UTF-8
unset LANGUAGE

# screen_size WxH: the Wine desktop, which fills the Xvfb screen exactly, and where its taskbar
# along the bottom puts the two icons (16 x 16; the first added is rightmost). 800x600 unless a
# case asks for more room with a line "# screen: WxH" (read by smoke/case.sh).
screen_size() {
    SCREEN_W=${1%x*} SCREEN_H=${1#*x}
    SMOKE_DESKTOP="shell,$1"
    ICON_Y=$((SCREEN_H - 18)) ICON_X_RIGHT=$((SCREEN_W - 18)) ICON_X_LEFT=$((SCREEN_W - 38))
}
screen_size 800x600

smoke_log() { printf '# %s\n' "$*" >&2; }

# A case's results: one line each, counted by the runner.
ok() { echo "ok - $1${2:+ ($2)}"; }
not_ok() { echo "not ok - $1: $2"; }

# keep_file FILE [NAME]: keeps a file (a screenshot of a failure, say) beside the build, in
# smoke-out/<arch>/<case>/.
keep_file() {
    [ -n "${SMOKE_OUT:-}" ] || return 0
    mkdir -p "$SMOKE_OUT" && cp "$1" "$SMOKE_OUT/${2:-$(basename "$1")}"
}

# session_begin ARCH DIR [TEMPLATE]: a private Wine session under DIR: prefix (a clone of
# TEMPLATE, or a new one), HOME, scratch folder, Xvfb display. Ended by session_end.
session_begin() {
    local arch=$1 dir=$2 template=${3:-}
    wine_use "$arch" || return 1
    mkdir -p "$dir/home" "$dir/tmp" || return 1
    export WINEPREFIX="$dir/prefix"
    export HOME="$dir/home"
    SMOKE_TMP="$dir/tmp"
    SESSION_DIR=$dir
    XVFB_PID=
    SMOKE_LAUNCH_PID=
    trap session_end EXIT
    trap 'exit 124' TERM INT HUP  # so that a time limit or ^C still runs the clean-up
    if [ -n "$template" ]; then
        wine_clone_prefix "$template" "$WINEPREFIX" || { echo "cannot copy the prefix" >&2; return 1; }
    else
        smoke_log "creating a $WINEARCH prefix"
        wine_new_prefix "$WINEPREFIX" "$SMOKE_TMP/wineboot.log" || return 1
    fi
    start_xvfb || return 1
}

session_end() {
    [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ] && wineserver_t 20 -k >/dev/null 2>&1
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
    fi
    if [ -n "${SESSION_DIR:-}" ] && [ -z "${SMOKE_KEEP:-}" ]; then
        rm -rf "$SESSION_DIR"
    fi
}

# wine_setup EXE: a private session for one exe (benchmarks): its architecture, a new prefix
# and display. SMOKE_EXE, SMOKE_EXE_DIR and SMOKE_EXE_NAME name the exe.
wine_setup() {
    SMOKE_EXE=$(readlink -f "$1") || return 1
    [ -f "$SMOKE_EXE" ] || { echo "no such exe: $1" >&2; return 1; }
    SMOKE_EXE_DIR=$(dirname "$SMOKE_EXE")
    SMOKE_EXE_NAME=$(basename "$SMOKE_EXE")
    local arch
    arch=$(pe_arch "$SMOKE_EXE") || { echo "not a Windows exe: $1" >&2; return 1; }
    session_begin "$arch" "$(wine_scratch_root)/session.$$" || return 1
}

# Xvfb on the first free display number from 60 on; the screen is exactly the Wine desktop.
start_xvfb() {
    local n i
    for n in $(seq 60 260); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 "${SCREEN_W}x${SCREEN_H}x24" -nolisten tcp >"$SMOKE_TMP/xvfb.log" 2>&1 &
        XVFB_PID=$!
        for i in $(seq 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            kill -0 "$XVFB_PID" 2>/dev/null || break
            sleep 0.1
        done
        # Ours only when the display's lock names our server: another one may have taken the
        # number a moment earlier, and ours is then about to give up.
        if kill -0 "$XVFB_PID" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ] &&
            [ "$(tr -d ' \n' <"/tmp/.X$n-lock" 2>/dev/null)" = "$XVFB_PID" ]; then
            export DISPLAY=":$n"
            return 0
        fi
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
        XVFB_PID=  # lost a race for this number: try the next
    done
    echo "no free X display" >&2
    return 1
}

# Starts the program in the background inside the shell desktop (exe given or the set-up one).
tivlo_start() {
    local exe=${1:-$SMOKE_EXE}
    (cd "$(dirname "$exe")" &&
        exec timeout -k 5 "${TIVLO_RUN_LIMIT:-150}" "$WINELOADER" explorer "/desktop=$SMOKE_DESKTOP" "$exe") \
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

# Ends whatever is left of a start, so that the desktop is empty again.
stop_all() {
    if [ "$(tivlo_count)" -gt 0 ]; then
        wineserver_t 20 -k >/dev/null 2>&1
        sleep 0.5
    fi
    wait_launcher 5 || true
}

# desktop_tool EXE OUT ARG...: runs one of the build's tools in the program's desktop (where
# its windows and notification area are) with the arguments and then OUT, the name of the file
# in $SMOKE_EXE_DIR that the tool writes; prints what it wrote (the launcher returns before the
# tool ends), or fails when it wrote nothing within 10 s.
desktop_tool() {
    local exe=$1 out="$SMOKE_EXE_DIR/$2" i
    shift 2
    rm -f "$out"
    (cd "$SMOKE_EXE_DIR" && wine_t 30 explorer "/desktop=$SMOKE_DESKTOP" "$exe" "$@" "$(basename "$out")") \
        >>"$SMOKE_TMP/wine.log" 2>&1
    for i in $(seq 100); do
        [ -s "$out" ] && { tr -d '\r' <"$out"; return 0; }
        sleep 0.1
    done
    return 1
}

# The Windows form of a Linux path.
win_path() { wine_t 30 winepath -w "$1" 2>/dev/null | tr -d '\r'; }

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
    convert "$1" "$2" -compose difference -composite -crop "${SCREEN_W}x$((ICON_Y - 4))+0+0" +repage -threshold 1% \
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

# cpu_share PID SECONDS: the share of one core, in per cent, that the process used (user and
# system time) over the next SECONDS, as "PERCENT TICKS"; fails when the process ended.
cpu_share() {
    local pid=$1 t0 t1 s0 s1
    ticks() { sed 's/.*) //' "/proc/$pid/stat" 2>/dev/null | awk '{ print $12 + $13 }'; }
    t0=$(ticks)
    s0=$(date +%s%N)
    sleep "$2"
    t1=$(ticks)
    s1=$(date +%s%N)
    [ -n "$t0" ] && [ -n "$t1" ] || return 1
    awk -v dt=$((t1 - t0)) -v hz="$(getconf CLK_TCK)" -v ns=$((s1 - s0)) \
        'BEGIN { printf "%.3f %d\n", 100 * (dt / hz) / (ns / 1e9), dt }'
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
        [ "$(black_count "$png" $((ICON_X_LEFT - 4)) $((ICON_Y - 2)) $((SCREEN_W - ICON_X_LEFT + 4)) 20)" -eq 0 ]
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

# mouse_to X Y: moves the pointer there and waits until it is. (xdotool's --sync waits for a
# motion that never comes when the pointer is there already: a new display starts it at
# 400,300.)
mouse_to() {
    [ "$(xdotool getmouselocation 2>/dev/null | cut -d' ' -f1-2)" = "x:$1 y:$2" ] && return 0
    xdotool mousemove --sync "$1" "$2"
}
click() { mouse_to "$1" "$2" && xdotool click "$3"; }  # X Y BUTTON
mouse_away() { mouse_to 400 300; }

# Key presses go to the window under the pointer (the X focus is PointerRoot). Wine hands
# them to an open popup menu only once the pointer has been over the menu. Once a window of
# the program has been active and closed, the X focus stays on the shell's taskbar, and Wine
# gives keys to the thread of that window: a tray menu then takes clicks, not keys.
press() { xdotool key "$@"; }

# A visible window with exactly this title (a message box's caption, say).
window_up() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }

# The whole store as sorted "Key\Name=Data (TYPE)" lines; empty when it does not exist.
reg_dump() {
    wine_t 60 reg query 'HKLM\Software\Tivlo' /s 2>/dev/null | tr -d '\r' |
        awk -F'    ' '/^HKEY_/ { key = $0; sub(/^HKEY_LOCAL_MACHINE\\Software\\Tivlo\\?/, "", key); next }
                      NF >= 3 && $1 == "" { d = $4; for (i = 5; i <= NF; i++) d = d "    " $i
                                            printf "%s\\%s=%s (%s)\n", key, $2, d, $3 }' |
        LC_ALL=C sort
}

reg_set() {  # KEY (below Software\Tivlo) NAME DATA
    wine_t 60 reg add "HKLM\\Software\\Tivlo\\$1" /v "$2" /t REG_SZ /d "$3" /f >/dev/null 2>&1
}

reg_delete_store() { wine_t 60 reg delete 'HKLM\Software\Tivlo' /f >/dev/null 2>&1; }

# reg_put_store LINES: writes text values given as reg_dump prints them ("Key\Name=Data (REG_SZ)"),
# all in one import.
reg_put_store() {
    local file="$SMOKE_TMP/store.reg"
    printf '%s\n' "$1" | awk '
        BEGIN { print "REGEDIT4" }
        /=/ { slash = index($0, "\\"); key = substr($0, 1, slash - 1); rest = substr($0, slash + 1)
              eq = index(rest, "="); name = substr(rest, 1, eq - 1); data = substr(rest, eq + 1)
              sub(/ \(REG_SZ\)$/, "", data); gsub(/\\/, "\\\\\\\\", data); gsub(/"/, "\\\"", data)
              if (key != last) { print ""; print "[HKEY_LOCAL_MACHINE\\Software\\Tivlo\\" key "]"; last = key }
              print "\"" name "\"=\"" data "\"" }' >"$file"
    wine_t 60 reg import "$(win_path "$file")" >/dev/null 2>&1
}

# put_alarms ALARM...: a store of the defaults with these alarms (each as its stored text).
put_alarms() {
    local store i=0 alarm
    store=$(expected_defaults | sed "s/^TimeSetting\\\\AlarmNum=0 /TimeSetting\\\\AlarmNum=$# /")
    for alarm in "$@"; do
        i=$((i + 1))
        store="$store
TimeSetting\\AlarmList$i=$alarm (REG_SZ)"
    done
    reg_put_store "$store"
}

# The 18 values written when no store exists, as reg_dump prints them.
expected_defaults() {
    local folder v
    folder=$(win_path "$SMOKE_EXE_DIR")
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

# start_and_wait_icons [SECONDS]: starts the program and waits for both tray icons.
start_and_wait_icons() {
    tivlo_start
    wait_for "${1:-40}" icons_shown
}

# The tray menu: what changed above the taskbar against $SMOKE_TMP/base.png, as "w h x y".
menu_box() { screenshot "$SMOKE_TMP/menu.png" && changed_box "$SMOKE_TMP/base.png" "$SMOKE_TMP/menu.png"; }
menu_open() { read -r mw mh mxx myy < <(menu_box) && [ "${mw:-0}" -gt 20 ]; }
menu_closed() { read -r mw mh mxx myy < <(menu_box) && [ "${mw:-0}" -le 1 ]; }
# 10 entries, 3 of them separators, opened at the click point.
menu_plausible() {
    [ "$mw" -ge 60 ] && [ "$mw" -le 360 ] && [ "$mh" -ge 100 ] && [ "$mh" -le 320 ] &&
        [ $((mxx + mw)) -ge $((SCREEN_W - 40)) ] && [ $((myy + mh)) -ge $((SCREEN_H - 40)) ]
}
# open_tray_menu: right-clicks the minute icon; 0 with mw mh mxx myy set when a menu opened.
open_tray_menu() {
    mouse_away
    sleep 0.3
    screenshot "$SMOKE_TMP/base.png"
    # A loaded machine can lose the click: once more when no menu of the expected size came.
    local try
    for try in 1 2; do
        click $((ICON_X_RIGHT + 8)) $((ICON_Y + 8)) 3
        wait_for 5 menu_ready && return 0
    done
    return 1
}
menu_ready() { menu_open && menu_plausible; }

# choose_tray_item KEY: opens the tray menu and chooses an item by its access key; TRAY_KEY_MS
# is the moment of the key press. (Wine hands keys to the menu once the pointer was over it.)
choose_tray_item() {
    open_tray_menu || return 1
    xdotool mousemove --sync $((mxx + mw / 2)) $((myy + 10))
    sleep 0.3
    TRAY_KEY_MS=$(now_ms)
    press "$1"
}

# open_from_tray KEY TITLE [SECONDS]: with the program running, chooses the tray item and waits
# for a window of that title (a pattern, as window_up takes; 10 s unless given). On failure
# TRAY_WHY says what went wrong and a screenshot is kept.
open_from_tray() {
    local limit=${3:-10}
    TRAY_WHY=
    if ! choose_tray_item "$1"; then
        TRAY_WHY="no tray menu"
    elif ! wait_for "$limit" window_up "$2"; then
        TRAY_WHY="no window \"${2//\\/}\" within $limit s"
    else
        return 0
    fi
    screenshot "$SMOKE_TMP/not-opened.png" && keep_file "$SMOKE_TMP/not-opened.png"
    return 1
}

# start_and_open KEY TITLE [SECONDS]: starts the program, waits for its two icons, then
# open_from_tray.
start_and_open() {
    TRAY_WHY="the two tray icons did not appear within 40 s"
    start_and_wait_icons 40 && open_from_tray "$@"
}

# window_geometry TITLE: "x y w h" of the visible window with exactly this title (a pattern,
# as window_up takes), frame included. id_geometry ID: the same for a window id.
window_geometry() {
    id_geometry "$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)"
}
# xwininfo, not xdotool: Wine's windows are children of its desktop window, and xdotool counts
# such a window's offset twice (a box at 152,282 comes out at 304,564).
id_geometry() {
    [ -n "$1" ] || return 1
    xwininfo -id "$1" 2>/dev/null | awk -F: '
        /Absolute upper-left X/ { x = $2 } /Absolute upper-left Y/ { y = $2 }
        /^ *Width/ { w = $2 } /^ *Height/ { h = $2 }
        END { if (w == "") exit 1; print x + 0, y + 0, w + 0, h + 0 }'
}

# The grab window's client origin on the screen, as "x y" (its client area is 632 x 502).
grab_origin() {
    local x y w h
    read -r x y w h < <(window_geometry 'Resource Grabbing Setting') || return 1
    echo $((x + (w - 632) / 2)) $((y + h - 502 - (w - 632) / 2))
}
grab_up() { window_up 'Resource Grabbing Setting'; }

# export_loopback_name: TIVLO_CHECK_LOOPBACK_NAME=localhost for a check where this machine's
# own hosts file has localhost; unset where it lacks it (a bare chroot), so that no check looks
# a name up with a name server.
export_loopback_name() {
    if getent -s files ahostsv4 localhost 2>/dev/null | grep -q '^127\.'; then
        export TIVLO_CHECK_LOOPBACK_NAME=localhost
    else
        unset TIVLO_CHECK_LOOPBACK_NAME
    fi
}

# private_network online|offline OUT [COMMAND...]: a network of the session's own. Wine makes
# its sockets in the wineserver, so the session's wineserver is started again inside a network
# namespace, with loopback up and COMMAND (a server, its output to OUT) beside it: no other run
# on this machine can take or see its ports, and Xvfb and the programs stay where they are.
# "online" adds a default route over loopback, so that the program believes it is online
# (nothing can leave). Fails, saying why, when no namespace can be made.
private_network() {
    local route=$1 out=$2 pidfile="$SMOKE_TMP/net-server.pid"
    shift 2
    rm -f "$pidfile"
    wineserver_t 20 -k >/dev/null 2>&1
    wineserver_t 20 -w >/dev/null 2>&1
    local ns=(unshare -n)
    unshare -n true 2>/dev/null || ns=(unshare -rn)
    # The wineserver goes to the background once it takes clients; it lives in the namespace.
    timeout 60 "${ns[@]}" bash -c '
        ip link set lo up || exit 1
        if [ "$1" = online ]; then ip route add default dev lo || exit 1; fi
        server=$2 out=$3 pidfile=$4
        shift 4
        if [ $# -gt 0 ]; then
            timeout 600 "$@" >>"$out" 2>&1 & echo $! >"$pidfile"
        fi
        exec "$server" -p 30' net "$route" "$WINE_SERVER64" "$out" "$pidfile" "$@" \
        >>"$SMOKE_TMP/net.log" 2>&1 ||
        { echo "no network namespace with a wineserver: $(tail -n 3 "$SMOKE_TMP/net.log")" >&2; return 1; }
}

# Ends the private network's server (its wineserver ends with the session).
private_network_stop() {
    local pidfile="$SMOKE_TMP/net-server.pid"
    [ -f "$pidfile" ] && kill "$(cat "$pidfile")" 2>/dev/null
    rm -f "$pidfile"
}

# sound_device none|null: before the program starts, the session without any sound driver, or
# with ALSA's null device (a mixer with its "Master Volume", output taken and dropped), so that a
# case sees the same on a machine with a sound card as on one without.
sound_device() {
    local driver=alsa
    if [ "$1" = null ]; then
        printf 'pcm.!default { type null }\nctl.!default { type null }\n' >"$HOME/.asoundrc"
    else
        driver=none
    fi
    wine_t 60 reg add 'HKCU\Software\Wine\Drivers' /v Audio /t REG_SZ /d "$driver" /f >/dev/null 2>&1
}

# The schedule dialog, just opened (collapsed): x1 y1 its place and w1 h1 its window size, cx cy
# its client origin on the screen. Centred across the screen, and for the 8820-twip (588-pixel)
# dialog down it; the client area is 592 x 313 pixels, the frame is what is left.
schedule_origin() {
    read -r _ _ w1 h1 < <(window_geometry 'Alarm Schedule Setting') || return 1
    x1=$(((SCREEN_W - w1) / 2))
    y1=$(((SCREEN_H - 588) / 2))
    border=$(((w1 - 592) / 2))
    cx=$((x1 + border))
    cy=$((y1 + h1 - 313 - border))
}
# schedule_at X Y: a click at a point of the schedule dialog given in its twips.
schedule_at() { click $((cx + $1 / 15)) $((cy + $2 / 15)) 1; }
# The picker's minute spin wraps without carrying into the hour: from minute 57 on, "two
# minutes ahead" would be in the past, so wait for the next hour (a case doing this declares
# "# limit: 180").
schedule_clear_of_the_hour() {
    local m s
    m=$((10#$(date +%M)))
    s=$((10#$(date +%S)))
    [ "$m" -ge 57 ] && sleep $(((59 - m) * 60 + 61 - s))
    return 0
}
# With the editor open: the picker's minute raised by two with its spin, the seconds 00, so that
# the alarm is due within two minutes and OK takes it.
schedule_two_minutes_ahead() {
    schedule_at $((5520 + 1035 + 150)) $((4680 + 3030 + 140))
    sleep 0.3
    schedule_at $((5520 + 2160 + 127)) $((4680 + 3015 + 60))
    sleep 0.3
    schedule_at $((5520 + 2160 + 127)) $((4680 + 3015 + 60))
    sleep 0.3
    schedule_at $((5520 + 1470 + 150)) $((4680 + 3030 + 140))
    sleep 0.3
    xdotool type --delay 40 '00'
    sleep 0.3
}

# With the editor open: OK, and once the dialog is collapsed again (a loaded machine may take a
# while), Save. True when the dialog has closed.
schedule_height() { window_geometry 'Alarm Schedule Setting' | cut -d' ' -f4; }
schedule_ok_and_save() {
    local open
    open=$(schedule_height)
    press alt+o
    wait_for 10 eval '[ "$(schedule_height)" -lt "$open" ]' || return 1
    press alt+v
    wait_for 10 eval '! window_up "Alarm Schedule Setting"'
}

# wait_line SECONDS PATTERN FILE: waits for a line matching the pattern in the file.
wait_line() { wait_for "$1" grep -q -- "$2" "$3"; }

# ---- The image viewer, opened from the grab window's first thumbnail ----
# Its designed client area is 668 x 602 pixels below the menu bar: such a case asks for an
# 800x700 screen. The case's pictures hold no black, so what is not black in the picture area
# is the picture.

# viewer_pictures DIR: the five pictures of the viewer's cases, the JPEG first by name: a
# 4000 x 3000 JPEG (quality 90), a 400 x 300 BMP with a yellow top-left corner, a text file
# named broken.jpg, a 300 x 200 PNG with a transparent background and a 200 x 150 GIF.
viewer_pictures() {
    mkdir -p "$1"
    convert -seed 1 -size 800x600 plasma:fractal -resize 4000x3000! +level 20%,100% -quality 90 "$1/a-big.jpg"
    convert -size 400x300 gradient:red-blue -fill yellow -draw 'rectangle 0,0 99,49' "BMP3:$1/b-small.bmp"
    echo "not a picture" >"$1/broken.jpg"
    convert -size 300x200 xc:none -fill '#00aa00' -draw 'circle 150,100 150,20' "PNG32:$1/c-alpha.png"
    convert -seed 3 -size 200x150 plasma:fractal +level 20%,100% "$1/d-pic.gif"
}

# viewer_open DIR: with DIR as the download folder, starts the program, opens the grab window
# from the tray and clicks its first thumbnail; 0 once the viewer is up with its layout found
# (VX VY VA, see viewer_layout) and the pointer over its picture area. Otherwise VIEWER_WHY says
# why, with a screenshot kept. VIEWER_FOLDER is DIR's Windows path.
viewer_open() {
    local store
    VIEWER_FOLDER=$(win_path "$1")
    store=$(expected_defaults | grep -v '^ResSetting\\Download_File_Folder=')
    reg_put_store "$store
ResSetting\\Download_File_Folder=$VIEWER_FOLDER (REG_SZ)"
    if ! start_and_open p 'Resource Grabbing Setting' 15; then
        VIEWER_WHY=$TRAY_WHY
        return 1
    fi
    sleep 2
    local gx gy
    read -r gx gy < <(grab_origin)
    click $((gx + 65)) $((gy + 368)) 1
    if ! wait_for 20 viewer_up; then
        VIEWER_WHY="no viewer after a click on the first thumbnail"
        screenshot "$SMOKE_TMP/noviewer.png" && keep_file "$SMOKE_TMP/noviewer.png"
        return 1
    fi
    sleep 1
    if ! viewer_layout || [ "${VA:-0}" -lt 400 ]; then
        VIEWER_WHY="no picture area in the viewer (height ${VA:-none})"
        screenshot "$SMOKE_TMP/nolayout.png" && keep_file "$SMOKE_TMP/nolayout.png"
        return 1
    fi
    # Keys go to the window under the pointer: it stays over the picture area.
    viewer_pointer
}
viewer_pointer() { mouse_to $((VX + 334)) $((VY + VA / 2)); }

# The viewer's caption is the picture's path in the download folder.
viewer_id() { xdotool search --onlyvisible --name "${VIEWER_FOLDER##*\\}"'\\[^\\]*$' 2>/dev/null | head -n 1; }
viewer_up() { [ -n "$(viewer_id)" ]; }
viewer_gone() { ! viewer_up; }
caption() { local id; id=$(viewer_id); [ -n "$id" ] && xdotool getwindowname "$id"; }
showing() { [ "$(caption)" = "$VIEWER_FOLDER\\$1" ]; }

# A case's findings: note adds one to $fail.
fail=""
note() { fail="${fail:+$fail; }$1"; }
# step KEYS NAME WHAT: presses the keys and waits for NAME in the caption.
step() { press $1; wait_for 5 showing "$2" || note "$3: showing \"$(caption)\", want $2"; }
# Ctrl+KEY: the viewer acts on the key's release, so Ctrl is held until the key is up.
ctrl() { xdotool keydown ctrl key "$1" keyup ctrl; }

# The client area's top left (668 x 602 below the menu bar, as designed) as VX VY, and the
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
