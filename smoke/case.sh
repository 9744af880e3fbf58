#!/bin/bash
# Runs one job of the Wine test runner in a session of its own (prefix copied from the run's
# template, HOME, Xvfb display, the build's exes linked into a private folder):
#   smoke/case.sh smoke ARCH BUILD_DIR CASE JOB_DIR   sources smoke/cases/CASE.sh
#   smoke/case.sh check ARCH BUILD_DIR EXE  JOB_DIR   runs a check program
# Prints the "ok - ..." / "not ok - ..." lines; a check job ends with "counts PASSED FAILED".
# SMOKE_TEMPLATE names the prefix to copy.
set -u
here=$(dirname "$(readlink -f "$0")")
. "$here/lib.sh"

kind=$1 arch=$2 build=$(readlink -f "$3") name=$4 dir=$5

# A case that needs a larger screen says so in a line "# screen: WxH".
if [ "$kind" = smoke ]; then
    screen=$(sed -n 's/^# screen: \([0-9]*x[0-9]*\)$/\1/p' "$here/cases/$name.sh" | head -n 1)
    [ -z "$screen" ] || screen_size "$screen"
fi
if ! session_begin "$arch" "$dir" "${SMOKE_TEMPLATE:-}"; then
    not_ok "$name" "no Wine session could be set up"
    [ "$kind" = check ] && echo "counts 0 1"
    exit 1
fi

# The build's exes, linked so that each job has the folder to itself: the program writes into
# its own folder (effects.log; the default download folder is the program's folder).
mkdir -p "$dir/app"
for f in "$build"/*.exe; do
    [ -e "$f" ] || continue
    ln "$f" "$dir/app/" 2>/dev/null || cp "$f" "$dir/app/"
done
SMOKE_ARCH=$arch
SMOKE_OUT="$build/smoke-out/$name"
rm -rf "$SMOKE_OUT"

if [ "$kind" = check ]; then
    # What a check needs on this machine first (a server, a site) is set up by the file
    # tests/win32/NAME.sh beside its source, sourced here; a check_end it defines runs afterwards.
    setup="$here/../tests/win32/$name.sh"
    if [ -f "$setup" ]; then
        # shellcheck source=/dev/null
        if ! . "$setup"; then
            not_ok "$name" "its set-up failed"
            echo "counts 0 1"
            exit 0
        fi
    fi
    out=$(cd "$dir/app" && wine_t "${SMOKE_CHECK_LIMIT:-120}" "./$name.exe" 2>"$SMOKE_TMP/check.err" | tr -d '\r')
    rc=$?
    last=$(printf '%s\n' "$out" | grep -v '^[[:space:]]*$' | tail -n 1)
    if [[ "$last" =~ ^([0-9]+)\ passed,\ ([0-9]+)\ failed$ ]]; then
        passed=${BASH_REMATCH[1]} failed=${BASH_REMATCH[2]}
        printf '%s\n' "$out" | grep '^not ok' | sed "s/^not ok - /not ok - $name: /"
        [ "$failed" -eq 0 ] && ok "$name" "$passed passed"
        if [ "$rc" -ne 0 ] && [ "$failed" -eq 0 ]; then
            not_ok "$name" "exit code $rc after a clean summary"
            failed=1
        fi
    else
        not_ok "$name" "no \"N passed, N failed\" line (exit code $rc)"
        printf '%s\n' "$out" | tail -n 10 | sed 's/^/#   /' >&2
        passed=0 failed=1
    fi
    declare -F check_end >/dev/null && check_end
    echo "counts $passed $failed"
    exit 0
fi

SMOKE_EXE="$dir/app/tivlo-smoke.exe"
SMOKE_EXE_DIR="$dir/app"
SMOKE_EXE_NAME=tivlo-smoke.exe
SMOKE_EFFECTS_EXPECTED=
# shellcheck source=/dev/null
. "$here/cases/$name.sh"
stop_all
# Smoke runs never change the machine; a case that makes the program attempt an effect sets
# SMOKE_EFFECTS_EXPECTED and looks at effects.log itself.
if [ -e "$SMOKE_EXE_DIR/effects.log" ] && [ -z "$SMOKE_EFFECTS_EXPECTED" ]; then
    not_ok "$name" "an effect was attempted: $(head -c 300 "$SMOKE_EXE_DIR/effects.log" | tr '\n' ';')"
fi
exit 0
