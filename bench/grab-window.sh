#!/bin/bash
# The grab window's figures under Wine: a page of five 12-megapixel JPEGs built, a refresh
# tick over the unchanged folder, private memory against an empty folder, the idle share of
# a core, drawing objects after 200 page flips and 50 refreshes, and a listing of 10,000
# pictures. It runs in the shell desktop, as the program does.
# Usage: bench/grab-window.sh <path-to-tivlo_grabbench.exe> [IDLE_SECONDS [BUILDS]]
# Exits with the bench's code: 0 when no drawing object was left behind.
. "$(dirname "$(readlink -f "$0")")/wine-bench.sh"
bench_begin 1 3 "<path-to-tivlo_grabbench.exe> [IDLE_SECONDS [BUILDS]]" "$@"
wine_setup "$1" || exit 2
data="$SMOKE_TMP/grab-bench"
mkdir -p "$data/big" "$data/empty" "$data/small" "$data/many"
for i in 1 2 3 4 5; do
    convert -size 4000x3000 "gradient:red-blue" -quality 90 "$data/big/big$i.jpg"
done
colours=(red lime blue yellow magenta cyan orange purple gray navy)
exts=(bmp gif jpg png bmp gif jpg png bmp gif)
for i in "${!colours[@]}"; do
    convert -size 120x90 "xc:${colours[$i]}" "$data/small/s$i.${exts[$i]}"
done
convert -size 8x8 xc:red "$data/one.gif"
for i in $(seq -w 1 10000); do ln "$data/one.gif" "$data/many/m$i.gif"; done
args=()
for d in big empty small many; do args+=("$(win_path "$data/$d")"); done
sync="$SMOKE_TMP/grab-sync"
mkdir -p "$sync"
out="$SMOKE_TMP/grab-bench.out"

# From Linux, since Wine reports no private memory: at each checkpoint of the bench, its Wine
# process's private pages (Private_Clean + Private_Dirty of smaps_rollup) and RssAnon; over the
# idle stretch, the CPU time of the process and of the session's wineserver.
hz=$(getconf CLK_TCK)
private_kb() { awk '/^Private_(Clean|Dirty):/ { kb += $2 } END { print kb + 0 }' "/proc/$1/smaps_rollup"; }
anon_kb() { awk '/^RssAnon:/ { print $2 }' "/proc/$1/status"; }
declare -A priv anon

(cd "$SMOKE_EXE_DIR" && wine_t 900 explorer "/desktop=$SMOKE_DESKTOP" "$SMOKE_EXE" "${args[@]}" \
    "${2:-60}" "${3:-20}" "$(win_path "$sync")") >"$out" 2>&1 &
bench=$!
seen=0
while kill -0 "$bench" 2>/dev/null; do
    for name in $(tr -d '\r' <"$out" | sed -n 's/^checkpoint //p' | tail -n +$((seen + 1))); do
        seen=$((seen + 1))
        pid=$(tivlo_pids | head -n 1)
        case "$name" in
        idle-start) srv=$(wineserver_pid) t0=$(proc_ticks "$pid") w0=$(proc_ticks "$srv") s0=$(date +%s%N) ;;
        idle-end) t1=$(proc_ticks "$pid") w1=$(proc_ticks "$srv") s1=$(date +%s%N) ;;
        *) priv[$name]=$(private_kb "$pid") anon[$name]=$(anon_kb "$pid") ;;
        esac
        touch "$sync/$name"
    done
    sleep 0.2
done
wait "$bench"
rc=$?
tr -d '\r' <"$out" | grep -v '^checkpoint '
echo "exit code $rc"
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
if [ -n "${priv[empty]:-}" ] && [ -n "${priv[big]:-}" ]; then
    for state in empty big-first big; do
        printf 'from Linux, %-9s private %6.1f MB, RssAnon %6.1f MB\n' "$state" \
            "$(awk -v k="${priv[$state]}" 'BEGIN { print k / 1024 }')" "$(awk -v k="${anon[$state]}" 'BEGIN { print k / 1024 }')"
    done
    awk -v e="${priv[empty]}" -v f="${priv[big-first]}" -v b="${priv[big]}" \
        -v ae="${anon[empty]}" -v af="${anon[big-first]}" -v ab="${anon[big]}" 'BEGIN {
        printf "five big pictures above the empty folder, private (RssAnon): %+.1f (%+.1f) MB first opened, %+.1f (%+.1f) MB after the builds   goal < 60 MB\n",
            (f - e) / 1024, (af - ae) / 1024, (b - e) / 1024, (ab - ae) / 1024 }'
fi
if [ -n "${s1:-}" ]; then
    awk -v dt=$((t1 - t0)) -v dw=$((w1 - w0)) -v hz="$hz" -v ns=$((s1 - s0)) 'BEGIN {
        printf "from Linux, idle over %.1f s: program %.2f %% of one core (%d ticks), its wineserver %.2f %% (%d ticks)   goal < 1 %%\n",
            ns / 1e9, 100 * (dt / hz) / (ns / 1e9), dt, 100 * (dw / hz) / (ns / 1e9), dw }'
fi
rm -rf "$data"
exit "$rc"
