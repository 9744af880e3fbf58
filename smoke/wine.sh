# The one Wine layer: every script that runs a Windows program goes through it.
#
# It decides, by trying the 32-bit Wine loader, whether this machine runs 32-bit programs
# (some machines of our kind have 32-bit emulation switched off in the kernel), and selects
# the Wine loader, server and prefix architecture for each build:
#
#   build          exe                    loader                 prefix   runs
#   32-bit (win)   dist/tivlo.exe         /usr/lib/wine/wine     win32    where 32-bit programs run
#   64-bit (win64) dist/x64/tivlo.exe     /usr/lib/wine/wine64   win64    everywhere
#
# Both talk to /usr/lib/wine/wineserver64. The `wine`, `wineserver` and `wineboot` wrappers
# are never called: they pick the 32-bit loader whenever it is installed, runnable or not.
#
# TIVLO_NO_WIN32=1 makes every script act as on a machine without 32-bit execution: nothing
# 32-bit is installed or run, and entry scripts that call wine_hide_32bit run with the 32-bit
# loaders covered by programs of a foreign machine type, so that even Wine's own helpers
# cannot start 32-bit processes.

WINE_LOADER32=/usr/lib/wine/wine
WINE_LOADER64=/usr/lib/wine/wine64
WINE_SERVER64=/usr/lib/wine/wineserver64

# A 93-byte static x86 program for machine type $1 (3 = i386) that exits with code 0.
elf32_program() {
    local m
    m=$(printf '\\x%02x' "$1")
    printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'
    printf "\\x02\\x00${m}\\x00\\x01\\x00\\x00\\x00\\x54\\x80\\x04\\x08\\x34\\x00\\x00\\x00"
    printf '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'
    printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'
    printf '\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'
    printf '\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80'  # exit(0)
}

wine_no32_forced() { [ -n "${TIVLO_NO_WIN32:-}" ] && [ "${TIVLO_NO_WIN32}" != 0 ]; }

# 0 when the kernel runs 32-bit x86 programs; works before any 32-bit package is installed.
elf32_runs() {
    local f rc
    f=$(mktemp /tmp/tivlo-elf32.XXXXXX) || return 1
    elf32_program 3 >"$f" && chmod +x "$f"
    "$f" 2>/dev/null
    rc=$?
    rm -f "$f"
    return $rc
}

# The mark scripts/setup leaves, saying why, when it could not install the 32-bit packages.
wine_no32_mark() { echo "$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)/build/no-wine32"; }

# 0 when 32-bit Windows programs can run here; otherwise WINE32_WHY says why not.
wine32_usable() {
    if [ -z "${WINE32_OK:-}" ]; then
        WINE32_OK=1
        WINE32_WHY=
        local mark
        mark=$(wine_no32_mark)
        if wine_no32_forced; then
            WINE32_OK=0 WINE32_WHY="TIVLO_NO_WIN32 is set"
        elif [ -f "$mark" ]; then
            WINE32_OK=0 WINE32_WHY=$(head -n 1 "$mark")
        elif [ ! -x "$WINE_LOADER32" ]; then
            if elf32_runs; then
                WINE32_OK=0 WINE32_WHY="wine32 is not installed"
            else
                WINE32_OK=0 WINE32_WHY="this machine does not run 32-bit programs"
            fi
        elif ! timeout -k 2 30 "$WINE_LOADER32" --version >/dev/null 2>&1; then
            WINE32_OK=0 WINE32_WHY="this machine does not run 32-bit programs ($WINE_LOADER32 --version fails)"
        fi
    fi
    [ "$WINE32_OK" = 1 ]
}

# wine_hide_32bit "$0" "$@": with TIVLO_NO_WIN32 set, runs the calling bash script again in a
# private mount namespace where the 32-bit loaders fail with "Exec format error", as on a
# machine without 32-bit execution. Returns (and changes nothing) otherwise, or where mount
# namespaces are not available; the scripts then only skip their own 32-bit runs.
wine_hide_32bit() {
    wine_no32_forced || return 0
    [ -z "${TIVLO_32BIT_HIDDEN:-}" ] || return 0
    command -v unshare >/dev/null 2>&1 || return 0
    unshare -m true 2>/dev/null || return 0
    local blocker=/tmp/tivlo-no32.$$
    elf32_program 40 >"$blocker" && chmod +x "$blocker" || return 0
    local f binds=
    for f in "$WINE_LOADER32" /usr/lib/wine/wineserver32 /lib/ld-linux.so.2; do
        [ -e "$f" ] && binds="$binds mount --bind $blocker $f &&"
    done
    export TIVLO_32BIT_HIDDEN=1
    # The mounts keep the blocker alive after its name is gone.
    exec unshare -m sh -c "$binds rm -f $blocker && exec bash \"\$@\"" sh "$@"
}

# pe_arch EXE: 32 or 64, from the machine field of the exe's header.
pe_arch() {
    local off machine
    off=$(od -An -t u4 -j 60 -N 4 "$1" 2>/dev/null | tr -d ' ') || return 1
    [ -n "$off" ] || return 1
    machine=$(od -An -t u2 -j $((off + 4)) -N 2 "$1" 2>/dev/null | tr -d ' ')
    case "$machine" in
    332) echo 32 ;;   # IMAGE_FILE_MACHINE_I386
    34404) echo 64 ;; # IMAGE_FILE_MACHINE_AMD64
    *) return 1 ;;
    esac
}

# wine_use ARCH: every later wine_t / wineserver_t runs ARCH-bit programs (32 or 64) in a
# prefix of that architecture. Fails, saying why, when this machine cannot run them.
wine_use() {
    case "$1" in
    32)
        if ! wine32_usable; then
            echo "32-bit Windows programs cannot run here: $WINE32_WHY" >&2
            return 1
        fi
        export WINEARCH=win32 WINELOADER=$WINE_LOADER32
        ;;
    64)
        [ -x "$WINE_LOADER64" ] || { echo "wine64 is not installed" >&2; return 1; }
        export WINEARCH=win64 WINELOADER=$WINE_LOADER64
        ;;
    *)
        echo "wine_use: 32 or 64, not '$1'" >&2
        return 1
        ;;
    esac
    WINE_ARCH=$1
    export WINEDEBUG=${WINEDEBUG:--all}
    # No Mono or Gecko installer, and a crash ends the process instead of hanging in winedbg.
    export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
}

# wine_t SECONDS PROGRAM ARGS...: the selected loader with a hard time limit.
wine_t() {
    local secs=$1
    shift
    timeout -k 5 "$secs" "$WINELOADER" "$@"
}

# wineserver_t SECONDS ARGS...: the server of the current prefix (-k ends it, -w waits for it).
wineserver_t() {
    local secs=$1
    shift
    timeout -k 2 "$secs" "$WINE_SERVER64" "$@"
}

# Wine's bitmap fonts are not put into a new prefix; the tray digits are MS Sans Serif.
wine_give_fonts() {
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    [ -d /usr/share/wine/fonts ] && [ -d "$fonts" ] || return 0
    [ -f "$fonts/sserife.fon" ] || cp /usr/share/wine/fonts/*.fon "$fonts/"
}

# wine_new_prefix DIR: a new prefix of the selected architecture, with its server stopped so
# that the registry files are complete. LOG receives wineboot's output.
wine_new_prefix() {
    local dir=$1 log=${2:-/dev/null}
    (
        export WINEPREFIX=$dir
        wine_t 240 wineboot -i >"$log" 2>&1 || exit 1
        wine_give_fonts
        wineserver_t 60 -w
    ) || { echo "wineboot failed for a $WINEARCH prefix (log: $log)" >&2; return 1; }
}

# wine_clone_prefix TEMPLATE DIR: a private copy of a prefix in a fraction of a second. The big
# library folders are hard links (Wine only reads them once a prefix exists); every other
# file, the registry above all, is a copy of its own.
wine_clone_prefix() {
    local src=$1 dst=$2
    rm -rf "$dst"
    cp -al "$src" "$dst" || return 1
    find "$dst" -type f -links +1 \
        -not -path "$dst/drive_c/windows/system32/*" \
        -not -path "$dst/drive_c/windows/syswow64/*" \
        -not -path "$dst/drive_c/windows/winsxs/*" \
        -exec sh -c 'for f; do cp -p "$f" "$f.copy" && mv -f "$f.copy" "$f"; done' sh {} +
}

# The scratch root of this tree's Wine runs, so that worktrees side by side never share one.
wine_scratch_root() {
    local tree
    tree=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)
    echo "/tmp/tivlo-wine.$(printf %s "$tree" | md5sum | cut -c1-8)"
}
