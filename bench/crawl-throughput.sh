#!/bin/bash
# Crawl throughput: a generated site of 500 pages and 2,500 pictures on the loopback test
# server, fetched by wget (one file at a time) and by wget2 with five downloads at once (as
# the engine), and crawled by the program's engine natively (pictures saved into the headless
# in-memory files) and, for each cross build folder given, under Wine (pictures saved into real
# files). Prints each one's time and CPU, the ratios to wget2's time, and the engine's CPU per
# page and per picture (from a second crawl of the pages alone). Usage:
#   bench/crawl-throughput.sh NATIVE_BUILD_DIR [CROSS_BUILD_DIR...]
# (a Release build holding tivlo_bench and tivlo-testserver; cross build folders holding
# tivlo_crawlbench.exe). A report, not a test.
# Every client writes its files into a tmpfs folder (/dev/shm) where there is one: under Wine
# every file is created by the single wineserver, and on an ext4 without a journal, as this
# machine's root, creating files right after thousands were deleted costs a scan of the inode
# table each time (about half the engine's time under Wine here); that is this disk's cost,
# not the crawl's, and NTFS has no such rule.
set -u
here=$(dirname "$(readlink -f "$0")")
build=$(readlink -f "${1:?usage: $0 NATIVE_BUILD_DIR [CROSS_BUILD_DIR...]}")
shift
for tool in wget wget2; do
    command -v $tool >/dev/null && continue
    if [ "$(id -u)" = 0 ]; then apt-get install -y $tool >/dev/null; else sudo apt-get install -y $tool >/dev/null; fi
done
work=$(mktemp -d /tmp/tivlo-crawl.XXXXXX)
files=$(mktemp -d /dev/shm/tivlo-crawl.XXXXXX 2>/dev/null) || files=$work/files
server=
trap '[ -n "$server" ] && kill $server 2>/dev/null; rm -rf "$work" "$files"' EXIT

mkdir -p "$work/site"
python3 "$here/crawl-site.py" "$work/site" || exit 2
echo "site: $(find "$work/site" -name '*.html' | wc -l) pages, $(find "$work/site/i" -type f | wc -l) pictures, $(du -sm "$work/site" | cut -f1) MB"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"

"$build/tivlo-testserver" "$work/site" "$work/port" >/dev/null 2>&1 &
server=$!
for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.05; done
read -r port _ <"$work/port" || exit 2
url="http://127.0.0.1:$port/index.html"

results=()  # "name|seconds|cpu seconds"
ticks() { awk '{ print $14 + $15 + $16 + $17 }' /proc/$$/stat; }
# fetch NAME COMMAND...: runs a downloader in an empty folder; its time, CPU and files.
fetch() {
    local name=$1 start end t0 t1 wall cpu
    shift
    rm -rf "$files/out" && mkdir -p "$files/out"
    start=$(date +%s.%N) t0=$(ticks)
    (cd "$files/out" && "$@")
    end=$(date +%s.%N) t1=$(ticks)
    wall=$(echo "$end - $start" | bc) cpu=$(echo "scale=2; ($t1 - $t0) / $(getconf CLK_TCK)" | bc)
    echo "$name: $(ls "$files/out" | wc -l) files in $wall s, CPU $cpu s"
    results+=("$name|$wall|$cpu")
}
accept=(-r -l inf -np -nd -q -e robots=off -A gif,jpg,jpeg,bmp,png)
fetch "wget -r" wget "${accept[@]}" "$url"
fetch "wget2 -r --max-threads=5" wget2 --max-threads=5 "${accept[@]}" "$url"

# per_item NAME WALL CPU PAGES PICTURES PAGES_ONLY_CPU: the engine's line and its CPU shares.
per_item() {
    results+=("$1|$2|$3")
    awk -v n="$1" -v cpu="$3" -v pages="$4" -v pics="$5" -v pcpu="$6" 'BEGIN {
        printf "%s: %d pages, %d pictures; CPU per page %.2f ms, per picture %.2f ms\n", n, pages,
            pics, 1000 * pcpu / pages, pics ? 1000 * (cpu - pcpu) / pics : 0 }'
}
# "run  1: 500 pages, 2500 pictures in 9.49 s (...), CPU 6.38 s (...)" -> "500 2500 9.49 6.38"
run_figures() { sed -n 's/^run *1: \([0-9]*\) pages, \([0-9]*\) pictures in \([0-9.]*\) s.*CPU \([0-9.]*\) s.*/\1 \2 \3 \4/p'; }
for cross in "$@"; do
    echo "under Wine, $cross:"
    mkdir -p "$files/wine"
    out=$(CRAWL_SAVE_DIR="$files/wine" bash "$here/grab-wine.sh" "$cross" "$url")
    echo "$out" | grep -E '^(load|run|exit|pages only)|did not'
    read -r pages pics wall cpu < <(echo "$out" | grep -v '^pages only' | run_figures)
    read -r _ _ _ pcpu < <(echo "$out" | sed -n 's/^pages only: //p' | run_figures)
    if [ -n "${wall:-}" ] && [ -n "${pcpu:-}" ]; then
        per_item "engine under Wine ($(basename "$cross"))" "$wall" "$cpu" "$pages" "$pics" "$pcpu"
    else
        echo "engine under Wine ($(basename "$cross")): no figures"
    fi
    unset pages pics wall cpu pcpu
done
kill $server 2>/dev/null
server=

# The engine natively reads through curl on the crawl's own thread: its CPU is that thread's
# (the process's also holds the server's threads).
TIVLO_CRAWL_SITE="$work/site" "$build/tivlo_bench" --benchmark_filter=CrawlSite --benchmark_format=json \
    >"$work/native.json" 2>/dev/null
read -r pages pics wall cpu pcpu < <(python3 - "$work/native.json" <<'EOF'
import json, sys
runs = {b["name"]: b for b in json.load(open(sys.argv[1]))["benchmarks"]}
full, pages = runs["BM_CrawlSite/pictures:1/iterations:1"], runs["BM_CrawlSite/pictures:0/iterations:1"]
print(int(full["pages"]), int(full["pictures"]), full["wall_s"], full["crawl_cpu_s"], pages["crawl_cpu_s"])
EOF
)
[ -n "${pcpu:-}" ] && {
    echo "engine natively: $wall s, CPU $cpu s (the pages alone: CPU $pcpu s)"
    per_item "engine natively" "$wall" "$cpu" "$pages" "$pics" "$pcpu"
}

echo
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
ref=$(printf '%s\n' "${results[@]}" | awk -F'|' '/^wget2/ { print $2 }')
printf '%-34s %9s %9s %10s\n' client time CPU "x wget2"
for r in "${results[@]}"; do
    IFS='|' read -r name wall cpu <<<"$r"
    printf '%-34s %8.2fs %8.2fs %10.2f\n' "$name" "$wall" "$cpu" "$(echo "scale=4; $wall / $ref" | bc)"
done
