#!/bin/bash
# The Wine tests of one or more cross builds, side by side.
# Usage: smoke/run-smoke.sh BUILD_DIR...   (folders holding tivlo-smoke.exe, e.g. build/win64)
#
# For each build (its architecture read from tivlo-smoke.exe) two suites run: every smoke case
# smoke/cases/*.sh, and every check program tivlo_check_*.exe of the build folder. A 32-bit
# build is skipped, with one line saying why, where this machine cannot run it. One template
# prefix per architecture is made per run; each job gets a copy of it, its own HOME and Xvfb
# display, and a time limit. Prints each job's "ok" / "not ok" lines as it ends, then one
# "N passed, N failed" line per suite; exits 0 when nothing failed.
#
# Environment: SMOKE_JOBS (jobs at once, default nproc), SMOKE_CASE_LIMIT (seconds per job,
# default 180), SMOKE_ONLY (an extended glob: only cases and checks whose name matches), SMOKE_KEEP
# (keep the job folders), TIVLO_NO_WIN32 (act as on a machine without 32-bit execution).
set -u
here=$(dirname "$(readlink -f "$0")")
. "$here/lib.sh"
wine_hide_32bit "$0" "$@"

[ $# -ge 1 ] || { echo "usage: $0 BUILD_DIR..." >&2; exit 2; }
max_jobs=${SMOKE_JOBS:-$(nproc)}
limit=${SMOKE_CASE_LIMIT:-180}
# A case that may wait longer says so in a line "# limit: SECONDS" (added to the usual limit).
job_limit() {
    local extra=0
    [ "$1" = smoke ] && extra=$(sed -n 's/^# limit: \([0-9]*\)$/\1/p' "$here/cases/$2.sh" | head -n 1)
    echo $((limit + ${extra:-0}))
}
scratch=$(wine_scratch_root)
root="$scratch/run.$$"

# Folders of runs that were killed before they could tidy up.
for d in "$scratch"/run.* "$scratch"/session.*; do
    [ -d "$d" ] || continue
    case "$d" in
    *.done) [ -n "$(find "$d" -maxdepth 0 -mmin +30)" ] || continue ;;  # still being deleted
    *) kill -0 "${d##*.}" 2>/dev/null && continue ;;
    esac
    (rm -rf "$d" </dev/null >/dev/null 2>&1 &)  # not ours to wait for, nor its output
done
mkdir -p "$root" || exit 2
# On an early end, the jobs still running stop through their time limit's signal, so that
# each tidies up its own Wine session and display.
job_pids=()
stop_jobs() {
    local p
    for p in "${job_pids[@]}"; do
        kill -0 "$p" 2>/dev/null || continue
        pkill -TERM -P "$p" 2>/dev/null
        wait "$p" 2>/dev/null
    done
    # Deleting two prefixes' worth of files takes the disk a while: nobody waits for it.
    mv "$root" "$root.done" 2>/dev/null && (rm -rf "$root.done" </dev/null >/dev/null 2>&1 &)
}
trap stop_jobs EXIT
trap 'exit 124' TERM INT HUP

started=$SECONDS
archs=()
declare -A build_of
for b in "$@"; do
    exe="$b/tivlo-smoke.exe"
    [ -f "$exe" ] || { echo "no $exe" >&2; exit 2; }
    arch=$(pe_arch "$exe") || { echo "$exe is not a Windows exe" >&2; exit 2; }
    if [ "$arch" = 32 ] && ! wine32_usable; then
        echo "32-bit suites skipped: $WINE32_WHY; only the 64-bit build was tested"
        continue
    fi
    archs+=("$arch")
    build_of[$arch]=$(readlink -f "$b")
done
[ ${#archs[@]} -gt 0 ] || { echo "nothing to test" >&2; exit 2; }

# One template prefix per architecture, made side by side.
for arch in "${archs[@]}"; do
    (wine_use "$arch" && wine_new_prefix "$root/template-$arch" "$root/template-$arch.log") &
done
wait
declare -A ready
for arch in "${archs[@]}"; do
    [ -f "$root/template-$arch/system.reg" ] && ready[$arch]=1
done
smoke_log "template prefixes ready after $((SECONDS - started)) s"

shopt -s extglob  # SMOKE_ONLY='@(about-box|exit)' names several
matches() { [ -z "${SMOKE_ONLY:-}" ] || [[ "$1" == $SMOKE_ONLY ]]; }

# The jobs, "kind arch name", the two architectures interleaved.
jobs_list=()
for f in "$here"/cases/*.sh; do
    [ -e "$f" ] || continue
    name=$(basename "$f" .sh)
    matches "$name" || continue
    for arch in "${archs[@]}"; do jobs_list+=("smoke $arch $name"); done
done
for arch in "${archs[@]}"; do
    for f in "${build_of[$arch]}"/tivlo_check_*.exe; do
        [ -e "$f" ] || continue
        name=$(basename "$f" .exe)
        matches "$name" || continue
        jobs_list+=("check $arch $name")
    done
done

declare -A passed failed last_end job_time job_max
for arch in "${archs[@]}"; do
    for kind in smoke check; do
        passed[$kind$arch]=0
        failed[$kind$arch]=0
    done
done

# Prints a finished job's lines and counts them.
report() {
    local jd=$1 kind arch name rc line p f n_ok=0 n_bad=0
    read -r kind arch name <"$jd/job"
    rc=$(cat "$jd/rc")
    last_end[$kind$arch]=$SECONDS
    local took=$(($(date +%s) - $(cat "$jd/start")))
    local tag="[$arch-bit, $took s]"
    job_time[$kind$arch]=$((${job_time[$kind$arch]:-0} + took))
    [ "$took" -gt "${job_max[$kind$arch]:-0}" ] && job_max[$kind$arch]=$took
    while IFS= read -r line; do
        case "$line" in
        "ok "*) echo "$line $tag"; n_ok=$((n_ok + 1)) ;;
        "not ok "*) echo "$line $tag"; n_bad=$((n_bad + 1)) ;;
        "counts "*) read -r _ p f <<<"$line"; n_ok=$p; n_bad=$f ;;
        esac
    done <"$jd/out"
    if [ "$rc" -ne 0 ] && [ "$n_bad" -eq 0 ]; then
        if [ "$rc" -eq 124 ] || [ "$rc" -eq 137 ]; then
            echo "not ok - $name: stopped at its time limit of $(job_limit "$kind" "$name") s $tag"
        else
            echo "not ok - $name: ended with code $rc $tag"
        fi
        n_bad=$((n_bad + 1))
    elif [ $((n_ok + n_bad)) -eq 0 ]; then
        echo "not ok - $name: reported nothing $tag"
        n_bad=1
    fi
    if [ "$n_bad" -gt 0 ] || [ -n "${SMOKE_VERBOSE:-}" ]; then
        tail -n 40 "$jd/err" | sed 's/^/#   /'
    fi
    passed[$kind$arch]=$((passed[$kind$arch] + n_ok))
    failed[$kind$arch]=$((failed[$kind$arch] + n_bad))
}

collect() {
    local jd
    for jd in "$root"/job.*; do
        [ -f "$jd/rc" ] && [ ! -f "$jd/reported" ] || continue
        report "$jd"
        touch "$jd/reported"
    done
}

running=0
i=0
for job in "${jobs_list[@]}"; do
    read -r kind arch name <<<"$job"
    i=$((i + 1))
    jd="$root/job.$i"
    mkdir -p "$jd"
    echo "$job" >"$jd/job"
    if [ -z "${ready[$arch]:-}" ]; then
        echo "not ok - $name: no $arch-bit template prefix" >"$jd/out"
        echo 1 >"$jd/rc"
        collect
        continue
    fi
    while [ "$running" -ge "$max_jobs" ]; do
        wait -n
        running=$((running - 1))
        collect
    done
    date +%s >"$jd/start"
    (
        SMOKE_TEMPLATE="$root/template-$arch" timeout -k 10 "$(job_limit "$kind" "$name")" \
            bash "$here/case.sh" "$kind" "$arch" "${build_of[$arch]}" "$name" "$jd/s" \
            >"$jd/out" 2>"$jd/err"
        echo $? >"$jd/rc"
    ) &
    job_pids+=($!)
    running=$((running + 1))
done
wait
collect

total_failed=0
for arch in "${archs[@]}"; do
    for kind in smoke check; do
        took=$((${last_end[$kind$arch]:-$SECONDS} - started))
        echo "$arch-bit ${kind/check/checks}: ${passed[$kind$arch]} passed, ${failed[$kind$arch]} failed (done after $took s)"
        smoke_log "$arch-bit ${kind/check/checks}: ${job_time[$kind$arch]:-0} s of job time in all, the longest job ${job_max[$kind$arch]:-0} s"
        total_failed=$((total_failed + failed[$kind$arch]))
    done
done
smoke_log "Wine tests took $((SECONDS - started)) s with up to $max_jobs jobs at once"
[ "$total_failed" -eq 0 ]
