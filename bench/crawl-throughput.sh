#!/bin/bash
# Crawl throughput: a generated site of 500 pages and 2,500 pictures on the loopback test
# server, fetched by wget and crawled by the program's engine, natively (pictures saved into
# the headless in-memory files) and, for each cross build folder given, under Wine (pictures
# saved into real files). Usage:
#   bench/crawl-throughput.sh NATIVE_BUILD_DIR [CROSS_BUILD_DIR...]
# (a Release build holding tivlo_bench and tivlo-testserver; cross build folders holding
# tivlo_crawlbench.exe). A report, not a test.
set -u
here=$(dirname "$(readlink -f "$0")")
build=$(readlink -f "${1:?usage: $0 NATIVE_BUILD_DIR [CROSS_BUILD_DIR...]}")
shift
command -v wget >/dev/null || sudo apt-get install -y wget >/dev/null || apt-get install -y wget >/dev/null
work=$(mktemp -d /tmp/tivlo-crawl.XXXXXX)
server=
trap '[ -n "$server" ] && kill $server 2>/dev/null; rm -rf "$work"' EXIT

mkdir -p "$work/site" "$work/wget"
python3 "$here/crawl-site.py" "$work/site" || exit 2
echo "site: $(find "$work/site" -name '*.html' | wc -l) pages, $(find "$work/site/i" -type f | wc -l) pictures, $(du -sm "$work/site" | cut -f1) MB"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"

"$build/tivlo-testserver" "$work/site" "$work/port" >/dev/null 2>&1 &
server=$!
for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.05; done
read -r port _ <"$work/port" || exit 2
start=$(date +%s.%N)
times0=$(awk '{ print $14 + $15 + $16 + $17 }' /proc/$$/stat)
(cd "$work/wget" && wget -r -l inf -np -nd -q -e robots=off -A gif,jpg,jpeg,bmp,png "http://127.0.0.1:$port/index.html")
end=$(date +%s.%N)
times1=$(awk '{ print $14 + $15 + $16 + $17 }' /proc/$$/stat)
echo "wget: $(ls "$work/wget" | wc -l) files in $(echo "$end - $start" | bc) s, CPU $(echo "scale=2; ($times1 - $times0) / $(getconf CLK_TCK)" | bc) s"
for cross in "$@"; do
    echo "under Wine, $cross:"
    bash "$here/grab-wine.sh" "$cross" "http://127.0.0.1:$port/index.html"
done
kill $server 2>/dev/null
server=
TIVLO_CRAWL_SITE="$work/site" "$build/tivlo_bench" --benchmark_filter=CrawlSite 2>&1 | grep BM_
