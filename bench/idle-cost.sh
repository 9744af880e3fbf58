#!/bin/bash
# Idle cost of the program under Wine beside the floor: an empty program with one hidden
# window, two 1-second timers that do nothing and a GetMessage loop (bench/idle-floor.c), built
# here for the exe's word size and run in the same session just before the program.
# For each: start-up (the floor's to its first timer tick, the program's to both tray icons
# shown), CPU ticks over 60 s after settling, private memory and threads; then the program's
# memory and threads again after each window of its tray menu has been opened and closed once.
# The memory goals are read on the counted figure (see memory_kb below).
# Usage: bench/idle-cost.sh <exe>   (a report, not a test: exits 0 either way)
# IDLE_SETTLE (12 s) and IDLE_WINDOW (60 s) change the times; IDLE_OPEN (default "1 2 3 6")
# the tray menu's lines whose windows are opened; IDLE_SOUND=none runs without a sound device
# (the mixer refused); IDLE_KEEP=DIR keeps the smaps of the program at idle and after.
. "$(dirname "$(readlink -f "$0")")/wine-bench.sh"
bench_begin 1 1 "<exe>" "$@"
wine_setup "$1" || exit 0
SETTLE=${IDLE_SETTLE:-12}
WINDOW=${IDLE_WINDOW:-60}
build=$SMOKE_EXE_DIR
# shellcheck source=../smoke/cards.sh
. "$here/../smoke/cards.sh"  # the tray menu's lines

arch=$(pe_arch "$SMOKE_EXE")
case $arch in
64) cc=x86_64-w64-mingw32-gcc ;;
*) cc=i686-w64-mingw32-gcc ;;
esac
floor="$SMOKE_TMP/idle-floor.exe"
if ! "$cc" -O2 -static -mwindows "$here/idle-floor.c" -o "$floor" 2>"$SMOKE_TMP/cc.log"; then
    echo "the floor did not build with $cc: $(head -c 300 "$SMOKE_TMP/cc.log")"
    exit 0
fi

# A sound device that plays nothing, as on a machine with sound (without one the schedule
# dialog first says that the volume control is disabled).
sound_device "${IDLE_SOUND:-null}"
export TIVLO_RUN_LIMIT=$((3 * SETTLE + WINDOW + 300))

# Memory in KB from /proc/PID/smaps. "Counted" is what Windows counts as a process's private
# bytes: anonymous memory (Wine's heaps, stacks, the Linux-side heap) and the pages of mapped
# files that the process has written (relocated or written data of the exe and the DLLs).
# "All private" adds the clean pages of mapped files that only this process maps, which
# Windows counts as shared image pages, not private bytes; it is the figure of earlier reports.
# memory_kb PID: "COUNTED ALL"; by_module PID: "NAME COUNTED" a line, anonymous memory as "[anon]".
smaps_sum() {
    awk -v each="$2" '/^[0-9a-f]+-[0-9a-f]+ / { file = $6 ~ /^\//; n = split($6 == "" ? "[anon]" : $6, p, "/"); name = p[n] }
        /^Private_Clean:/ { all[name] += $2; if (!file) kb[name] += $2 }
        /^Private_Dirty:/ { all[name] += $2; kb[name] += $2 }
        END { for (k in all) { if (each) print k, kb[k] + 0; c += kb[k]; a += all[k] }
              if (!each) print c + 0, a + 0 }' "/proc/$1/smaps" | sort
}
memory_kb() { smaps_sum "$1" ""; }
by_module() { smaps_sum "$1" 1; }
threads() { local t=(/proc/"$1"/task/*); echo "${#t[@]}"; }
keep_smaps() { [ -n "${IDLE_KEEP:-}" ] && mkdir -p "$IDLE_KEEP" && cp "/proc/$1/smaps" "$IDLE_KEEP/$2.smaps"; }
pid_of() {  # pid_of NAME: the Linux process of that exe in our prefix
    local p
    for p in $(pgrep -f -- "$1"); do
        tr '\0' '\n' <"/proc/$p/cmdline" 2>/dev/null | head -n 1 | grep -q -- "$1\$" || continue
        tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && { echo "$p"; return; }
    done
}
# measure NAME PID: "TICKS COUNTED-KB ALL-KB THREADS" over the window, after settling.
measure() {
    local cpu dt
    sleep "$SETTLE"
    read -r cpu dt < <(cpu_share "$2" "$WINDOW") || return 1
    keep_smaps "$2" "$1"
    echo "$dt $(memory_kb "$2") $(threads "$2")"
}

# The floor, started the way the program is: inside the shell desktop, the session warm.
reg_delete_store
t0=$(now_ms)
(cd "$SMOKE_TMP" && exec timeout -k 5 $((SETTLE + WINDOW + 60)) "$WINELOADER" explorer "/desktop=$SMOKE_DESKTOP" \
    "$floor" first-tick.txt) >>"$SMOKE_TMP/wine.log" 2>&1 &
if ! wait_for 40 test -s "$SMOKE_TMP/first-tick.txt"; then
    echo "the floor never ticked; no figures"
    exit 0
fi
floor_start=$(($(now_ms) - t0))
fpid=$(pid_of idle-floor.exe)
read -r floor_ticks floor_kb floor_all floor_threads < <(measure floor "$fpid") || { echo "the floor ended early"; exit 0; }
wineserver_t 20 -k >/dev/null 2>&1
sleep 1

# The program, from an empty store, as a first run.
reg_delete_store
t0=$(now_ms)
tivlo_start
if ! wait_for 40 icons_shown; then
    echo "the program's tray icons did not appear; no figures"
    exit 0
fi
prog_start=$(($(now_ms) - t0))
mouse_away
pid=$(tivlo_pids | head -n 1)
[ -n "$pid" ] || { echo "the program is not running; no figures"; exit 0; }
read -r prog_ticks prog_kb prog_all prog_threads < <(measure program "$pid") || { echo "the program ended during the measurement"; exit 0; }
idle_modules=$(by_module "$pid")
idle_maps=$(grep -oE '[^/ ]+\.(dll|drv)$' "/proc/$pid/maps" | sort -u | tr 'A-Z' 'a-z')

# Without a sound device the schedule dialog first says that the volume control is disabled.
answer_volume_message() {
    local try bx by bw bh
    wait_for 10 window_up 'Tivlo 2\.3' || return 1
    for try in 1 2 3; do
        read -r bx by bw bh < <(window_geometry 'Tivlo 2\.3') && mouse_to $((bx + bw / 2)) $((by + bh / 2))
        press Return
        wait_for 5 eval "! window_up 'Tivlo 2\.3'" && return 0
    done
    return 1
}

# Each window of the tray menu once: its line in the menu, its title. Opened by a click (keys
# may not reach the menu once a window has closed), closed by its close box.
opened=() missed=()
declare -A titles=([1]="Alarm Schedule Setting" [2]="Resource Grabbing Setting" [3]="Fortune-telling"
    [6]="About Tivlo 2\.3")
for line in ${IDLE_OPEN:-1 2 3 6}; do
    title=${titles[$line]}
    click 600 300 1
    sleep 0.5
    if open_tray_menu && menu_settled && y=$(menu_line_y "$SMOKE_TMP/menu.png" "$line") &&
        xdotool mousemove --sync $((mxx + mw / 2)) "$y" && sleep 0.3 && xdotool click 1 &&
        { [ "${IDLE_SOUND:-null}" = null ] || [ "$line" != 1 ] || answer_volume_message; } &&
        wait_for 15 window_up "$title"; then
        sleep 2
        read -r x y w h < <(window_geometry "$title")
        click $((x + w - 12)) $((y + 11)) 1
        if wait_for 10 eval "! window_up '$title'"; then opened+=("${title//\\/}"); else missed+=("${title//\\/} (stayed open)"); fi
    else
        missed+=("${title//\\/} (did not open)")
        press Escape
    fi
done
sleep "$SETTLE"
read -r after_kb after_all < <(memory_kb "$pid")
after_threads=$(threads "$pid")
keep_smaps "$pid" after
after_modules=$(by_module "$pid")
after_maps=$(grep -oE '[^/ ]+\.(dll|drv)$' "/proc/$pid/maps" | sort -u | tr 'A-Z' 'a-z')

echo "$arch-bit build, wine$arch, shell desktop; ${WINDOW} s measured after ${SETTLE} s of settling"
awk -v fs="$floor_start" -v ps="$prog_start" -v ft="$floor_ticks" -v pt="$prog_ticks" \
    -v fk="$floor_kb" -v pk="$prog_kb" -v ak="$after_kb" -v fa="$floor_all" -v pa="$prog_all" -v aa="$after_all" \
    -v fn="$floor_threads" -v pn="$prog_threads" -v an="$after_threads" -v w="$WINDOW" -v hz="$(getconf CLK_TCK)" 'BEGIN {
    printf "%-34s %10s %10s %10s\n", "", "floor", "program", "after"
    printf "%-34s %9.1fs %9.1fs\n", "start-up (first tick / tray icons)", fs / 1000, ps / 1000
    printf "%-34s %10d %10d\n", "CPU ticks in " w " s", ft, pt
    printf "%-34s %8.1fMB %8.1fMB %8.1fMB\n", "private memory (counted)", fk / 1024, pk / 1024, ak / 1024
    printf "%-34s %8.1fMB %8.1fMB %8.1fMB\n", "all private pages (earlier figure)", fa / 1024, pa / 1024, aa / 1024
    printf "%-34s %10d %10d %10d\n", "threads", fn, pn, an
    per_min = (pt - ft) * 60 / w
    printf "idle CPU over the floor: %+.1f ticks a minute (a tick is %d ms)   goal <= 1   %s\n", per_min, 1000 / hz, (per_min <= 1 ? "met" : "NOT met")
    printf "private memory: %.2f x the floor   goal <= 1.5   %s\n", pk / fk, (pk <= 1.5 * fk ? "met" : "NOT met")
    printf "after the windows: %+.2f MB counted (%+.2f MB of all private pages)   goal within 1 MB   %s\n", (ak - pk) / 1024, (aa - pa) / 1024, (ak - pk <= 1024 ? "met" : "NOT met")
}'
echo "windows opened and closed (lines ${IDLE_OPEN:-1 2 3 6}, sound ${IDLE_SOUND:-null}): ${opened[*]:-none}${missed:+; not: ${missed[*]}}"
echo "grown most after the windows (KB counted): $(join -a 2 -e 0 -o 0,1.2,2.2 <(echo "$idle_modules") <(echo "$after_modules") |
    awk '{ print $3 - $2, $1 }' | sort -rn | head -n 6 | awk '{ printf "%s +%d  ", $2, $1 }')"
lazy='wininet|ws2_32|winmm|comdlg32|ole32|oleaut32|gdiplus|windowscodecs|comctl32'
echo "feature DLLs mapped at idle: $(grep -xE "($lazy)\.dll" <<<"$idle_maps" | tr '\n' ' ')"
echo "feature DLLs mapped after the windows: $(grep -xE "($lazy)\.dll" <<<"$after_maps" | tr '\n' ' ')"
exit 0
