# The shared start of the benchmark scripts that run an exe under Wine. Sourced at a script's
# top; sets `here` (the bench folder) and brings smoke/lib.sh.
set -u
here=$(dirname "$(readlink -f "$0")")
. "$here/../smoke/lib.sh"

# bench_begin MIN MAX USAGE ARG...: where 32-bit execution is to be hidden, runs the script
# again without it; exits 2 with the usage unless MIN to MAX arguments were given. Then
# `wine_setup EXE` (smoke/lib.sh) makes the private Wine session.
bench_begin() {
    local min=$1 max=$2 usage=$3
    shift 3
    wine_hide_32bit "$0" "$@"
    [ $# -ge "$min" ] && [ $# -le "$max" ] || { echo "usage: $0 $usage" >&2; exit 2; }
}

# proc_ticks PID: the CPU time (user and system) a process has used, in clock ticks.
proc_ticks() { sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | awk '{ print $12 + $13 }'; }

# The wineserver of the session's prefix (also one started again in a network namespace).
wineserver_pid() {
    local p
    for p in $(pgrep -x "$(basename "$WINE_SERVER64")"); do
        tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && { echo "$p"; return; }
    done
}

# bench_run SECONDS ARG...: runs the exe in its own folder with a time limit and prints its
# output and "exit code N"; returns that code. With BENCH_DESKTOP set it runs inside the shell
# desktop, as the program does: on a bare X display with no window manager, Wine waits two
# seconds for every top-level window it hides.
bench_run() {
    local limit=$1 rc
    shift
    local shell=()
    [ -n "${BENCH_DESKTOP:-}" ] && shell=(explorer "/desktop=$SMOKE_DESKTOP")
    (cd "$SMOKE_EXE_DIR" && wine_t "$limit" "${shell[@]}" "$SMOKE_EXE" "$@") | tr -d '\r'
    rc=${PIPESTATUS[0]}
    echo "exit code $rc"
    return "$rc"
}
