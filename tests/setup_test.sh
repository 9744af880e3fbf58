#!/usr/bin/env bash
# scripts/setup against a stand-in package system: dpkg-query, dpkg, apt-get, id and sudo first
# on PATH report what the case says is installed and record what they are asked. The real
# package system is never touched. Prints "ok"/"not ok" lines; exits 1 when any case failed.
set -u
src=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d /tmp/tivlo-setup-test.XXXXXX) || exit 1
trap 'rm -rf "$work"' EXIT
bin=$work/bin
mkdir -p "$bin"

# The stand-ins keep their state in $STATE: installed (a name a line), foreign (architectures),
# calls (every call), queried (the names dpkg-query was asked about), and the files naming
# what is to fail.
# dpkg-query answers as to -f='${binary:Package} ${Status}\n', and exits 1 on unknown names.
cat >"$bin/dpkg-query" <<'EOF'
#!/bin/bash
echo "dpkg-query $*" >>"$STATE/calls"
rc=0
for a in "${@:3}"; do
    echo "$a" >>"$STATE/queried"
    if grep -qxF -- "$a" "$STATE/installed"; then
        echo "$a install ok installed"
    else
        echo "dpkg-query: no packages found matching $a" >&2
        rc=1
    fi
done
exit $rc
EOF
cat >"$bin/dpkg" <<'EOF'
#!/bin/bash
echo "dpkg $*" >>"$STATE/calls"
[ ! -f "$STATE/fail-dpkg" ] || { echo "dpkg: error: the database is locked" >&2; exit 2; }
case $1 in
--print-architecture) echo amd64 ;;
--print-foreign-architectures) cat "$STATE/foreign" 2>/dev/null ;;
--add-architecture) echo "$2" >>"$STATE/foreign" ;;
*) echo "dpkg stand-in: not expected: $*" >&2; exit 2 ;;
esac
EOF
cat >"$bin/apt-get" <<'EOF'
#!/bin/bash
echo "apt-get $*" >>"$STATE/calls"
case $1 in
update)
    if [ -f "$STATE/fail-update" ]; then
        echo "E: Failed to fetch i386 Packages  File has unexpected size (374820 != 376004). Mirror sync in progress?" >&2
        exit 100
    fi
    ;;
install)
    shift
    names=()
    for a; do [[ $a == -* ]] || names+=("$a"); done
    if [[ " ${names[*]}" == *:i386* ]]; then
        if [ -f "$STATE/fail-install32" ]; then
            echo "E: Unable to correct problems, you have held broken packages." >&2
            exit 100
        fi
    elif [ -f "$STATE/fail-install" ]; then
        echo "E: Unable to locate package iproute2" >&2
        exit 100
    fi
    printf '%s\n' "${names[@]}" >>"$STATE/installed"
    ;;
*) echo "apt-get stand-in: not expected: $*" >&2; exit 100 ;;
esac
EOF
cat >"$bin/id" <<'EOF'
#!/bin/bash
[ "$1" = -u ] && echo "${FAKE_UID:-0}"
EOF
cat >"$bin/sudo" <<'EOF'
#!/bin/bash
echo "sudo $*" >>"$STATE/calls"
exec "$@"
EOF
chmod +x "$bin"/*

# A copy of the scripts in which the kernel's 32-bit support and the 32-bit loader are the
# case's: the file runs32 says that 32-bit programs run, wine32 is the loader.
tree=$work/tree
mkdir -p "$tree/scripts" "$tree/smoke"
cp "$src/scripts/setup" "$tree/scripts/"
cp "$src/smoke/wine.sh" "$tree/smoke/"
cat >>"$tree/smoke/wine.sh" <<'EOF'
WINE_LOADER32=$STATE/wine32
elf32_runs() { [ -f "$STATE/runs32" ]; }
EOF

failed=0
# begin NAME FILES...: a new case on a machine with nothing installed and FILES in its state.
begin() {
    case_name=$1
    shift
    export STATE=$work/state.$((++n_case))
    mkdir -p "$STATE"
    touch "$STATE/installed" "$STATE/calls" "${@/#/$STATE/}"
    rm -f "$tree/build/no-wine32"
    unset FAKE_UID TIVLO_NO_WIN32
}
n_case=0
# setup: runs the set-up, its output in $out and its exit code in $rc.
setup() {
    : >"$STATE/calls"
    out=$(PATH="$bin:$PATH" bash "$tree/scripts/setup" 2>&1 </dev/null)
    rc=$?
}
bad=()
expect() { "$@" || bad+=("line $(caller | cut -d' ' -f1): $(echo "$*" | head -c 80 | tr '\n' ' ')"); }
no() { ! "$@"; }
end() {
    if [ ${#bad[@]} -eq 0 ]; then
        echo "ok - $case_name"
    else
        echo "not ok - $case_name: ${bad[*]}"
        printf '%s\n' "$out" | tail -n 8 | sed 's/^/#   /'
        failed=$((failed + 1))
    fi
    bad=()
}
asked() { grep -q -- "$1" "$STATE/calls"; }
said() { printf '%s\n' "$out" | grep -q -- "$1"; }
# The packages the set-up looked for, and those it had installed (a name a line, sorted).
queried() { sort -u "$STATE/queried"; }
# before A B: the first call that matches A comes before the first that matches B.
before() { grep -m1 -B1000 -- "$2" "$STATE/calls" | grep -q -- "$1"; }
has() { grep -qxF -- "$1" "$STATE/installed"; }
# The 64-bit road: what smoke/wine.sh decides in the copy.
road32() { (WINE32_OK= && . "$tree/smoke/wine.sh" && wine32_usable && echo yes || echo "no: $WINE32_WHY"); }
loader32() { printf '#!/bin/sh\nexit 0\n' >"$STATE/wine32" && chmod +x "$STATE/wine32"; }

begin "a bare machine without 32-bit execution: everything is installed at once, then nothing"
setup
expect [ "$rc" = 0 ]
all=$(queried)
expect [ "$(sort "$STATE/installed")" = "$all" ]
expect grep -qx iproute2 <<<"$all"
expect grep -qx wine64 <<<"$all"
expect [ "$(grep -c '^apt-get install' "$STATE/calls")" = 1 ]
expect asked '^apt-get update'
expect no asked ':i386\|add-architecture'
setup
expect [ "$rc" = 0 ]
expect [ -z "$out" ]
expect no asked apt-get
end

begin "a bare machine that runs 32-bit programs, not root: i386 added, both sets installed through sudo" runs32
export FAKE_UID=1000
setup
expect [ "$rc" = 0 ]
expect before 'add-architecture i386' 'apt-get update'
expect before 'apt-get install.* wine64' 'apt-get install.*wine32:i386' 
expect [ "$(sort "$STATE/installed")" = "$(queried)" ]
expect has wine32:i386
expect [ "$(grep -c '^sudo env .*apt-get install' "$STATE/calls")" = 2 ]
loader32
expect [ "$(road32)" = yes ]
end

begin "a failing apt-get update is reported in one line and the install goes on" fail-update
setup
expect [ "$rc" = 0 ]
expect said '^setup: apt-get update failed.*Mirror sync in progress'
expect has wine64
end

begin "32-bit packages that cannot be installed leave the 64-bit set installed and the 64-bit road" runs32 fail-install32
loader32
setup
expect [ "$rc" = 0 ]
expect has wine64
expect has iproute2
expect no has wine32:i386
expect said '^setup: the 32-bit packages could not be installed.*held broken packages'
why=$(road32)
expect [ "${why#no: }" != "$why" ]
expect grep -q 'could not be installed' <<<"$why"
# Once they can be installed, the 32-bit road is back.
rm "$STATE/fail-install32"
setup
expect [ "$rc" = 0 ]
expect has wine32:i386
expect [ "$(road32)" = yes ]
end

begin "TIVLO_NO_WIN32 installs nothing 32-bit on a machine that runs 32-bit programs" runs32
export TIVLO_NO_WIN32=1
setup
expect [ "$rc" = 0 ]
expect has wine64
expect no asked ':i386\|add-architecture'
end

begin "a failure of what the 64-bit road needs stops set-up with the step and its error" fail-install runs32
setup
expect [ "$rc" != 0 ]
expect said '^setup: installing the packages failed: E: Unable to locate package iproute2'
expect no asked 'install.*:i386'
end

begin "any other failure ends in a line naming the command and its own error" fail-dpkg
setup
expect [ "$rc" != 0 ]
expect said '^setup: failed .*dpkg --print-architecture'
expect said 'the database is locked'
end

[ "$failed" = 0 ] && echo "set-up: $n_case cases passed" || echo "set-up: $failed of $n_case cases failed"
[ "$failed" = 0 ]
