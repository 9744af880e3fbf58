#!/bin/bash
# Grab figures under Wine, against the loopback test server:
#   bench/grab-wine.sh BUILD_DIR
#     parse throughput on Debian's python3.11-doc genindex-all.html; the CPU of a run whose
#     every answer is delayed by 5 s; five endless bodies at once with the real limits (how
#     they end, the process's peak memory); a peer sending one byte every 5 s with the real
#     limits; ten runs over a generated site of 40 pages and 200 pictures (memory, threads and
#     handles after each).
#   bench/grab-wine.sh BUILD_DIR SITE_URL
#     one run over a site already served, then one of its pages alone ("pages only: run ...")
#     (bench/crawl-throughput.sh uses it).
# BUILD_DIR is a cross build folder holding tivlo_crawlbench.exe and tivlo-testserver.
# CRAWL_SAVE_DIR: the folder the runs save into (emptied first; the session's scratch folder by default).
# A report, not a test.
. "$(dirname "$(readlink -f "$0")")/wine-bench.sh"
bench_begin 1 2 "BUILD_DIR [SITE_URL]" "$@"
build=$(readlink -f "$1")
wine_setup "$build/tivlo_crawlbench.exe" || exit 2

saved=${CRAWL_SAVE_DIR:-$SMOKE_TMP/saved}
mkdir -p "$saved"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
if [ $# -eq 2 ]; then
    bench_run 900 runs "$2" 1 "$(win_path "$saved")"
    bench_run 900 runs "$2" 1 "$(win_path "$saved")" pages | sed 's/^run/pages only: run/'
    exit 0
fi

page=/usr/share/doc/python3.11/html/genindex-all.html
# The benchmark's own set-up: the page comes with the Python documentation.
[ -f "$page" ] || sudo apt-get install -y python3.11-doc >/dev/null || apt-get install -y python3.11-doc >/dev/null
[ -f "$page" ] || { echo "no $page" >&2; exit 2; }
portfile="$SMOKE_TMP/server.port"
python3 "$here/crawl-site.py" "$SMOKE_TMP/site" 40 || exit 2
timeout 1200 "$build/tivlo-testserver" "$SMOKE_TMP/site" "$portfile" >/dev/null 2>&1 &
server=$!
trap 'kill $server 2>/dev/null; session_end' EXIT
for _ in $(seq 100); do [ -s "$portfile" ] && break; sleep 0.05; done
read -r port _ <"$portfile" || { echo "the test server did not start" >&2; exit 2; }
url="http://127.0.0.1:$port"

bench_run 300 parse "Z:${page//\//\\}" 5
bench_run 300 idle "$url/t/waiting?n=20&ms=5000"
echo "five endless bodies at once:"
bench_run 300 endless "$url/t/endless?i=1" "$url/t/endless?i=2" "$url/t/endless?i=3" "$url/t/endless?i=4" \
    "$url/t/endless?i=5"
echo "a peer sending one byte every 5 s:"
bench_run 120 endless "$url/t/slow?ms=5000&n=100"
echo "ten runs over the site:"
bench_run 900 runs "$url/index.html" 10 "$(win_path "$saved")"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
