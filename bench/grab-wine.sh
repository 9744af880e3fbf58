#!/bin/bash
# Grab figures under Wine: parse throughput on Debian's python3.11-doc genindex-all.html, and
# the CPU of a run whose every answer the loopback test server delays by 5 s.
# Usage: bench/grab-wine.sh BUILD_DIR   (a cross build folder holding tivlo_crawlbench.exe and
# tivlo-testserver; a report, not a test)
. "$(dirname "$(readlink -f "$0")")/wine-bench.sh"
bench_begin 1 1 "BUILD_DIR" "$@"
build=$(readlink -f "$1")
page=/usr/share/doc/python3.11/html/genindex-all.html
# The benchmark's own set-up: the page comes with the Python documentation.
[ -f "$page" ] || sudo apt-get install -y python3.11-doc >/dev/null || apt-get install -y python3.11-doc >/dev/null
[ -f "$page" ] || { echo "no $page" >&2; exit 2; }
wine_setup "$build/tivlo_crawlbench.exe" || exit 2

portfile="$SMOKE_TMP/server.port"
mkdir -p "$SMOKE_TMP/site"
timeout 300 "$build/tivlo-testserver" "$SMOKE_TMP/site" "$portfile" >/dev/null 2>&1 &
server=$!
trap 'kill $server 2>/dev/null; session_end' EXIT
for _ in $(seq 100); do [ -s "$portfile" ] && break; sleep 0.05; done
read -r port _ <"$portfile" || { echo "the test server did not start" >&2; exit 2; }

cd "$SMOKE_EXE_DIR" || exit 2
wine_t 300 "$SMOKE_EXE" parse "Z:${page//\//\\}" 5 | tr -d '\r'
wine_t 300 "$SMOKE_EXE" idle "http://127.0.0.1:$port/t/waiting?n=20&ms=5000" | tr -d '\r'
