#!/usr/bin/env bash
# Runs a Windows program under Wine for the tests and the demo.
#
#   wine-run.sh PROGRAM.exe [ARGS...]
#
# Environment:
#   QWINE_ROOT     folder for the prefixes (default: ../wine beside the program's folder)
#   QWINE_PREFIX   run in exactly this prefix (the caller owns it); otherwise the shared warm prefix
#   QWINE_FRESH=1  run in a throwaway copy of the template prefix, removed afterwards; for tests that
#                  change machine state, open windows (FindWindow is session-wide) or set a version
#   QWINE_VERSION  emulated Windows version for this program (win31, win95, win98, winme, nt351,
#                  nt40, win2k, winxp, win7, ...), through Wine's per-program AppDefaults
#   QWINE_XVFB=1   run on a private Xvfb display instead of the null graphics driver (implies FRESH)
#   QWINE_KEEP=1   with FRESH: keep the prefix and print its path (for debugging)
#   QWINE_TEMPLATE_ONLY=1  only make sure the template prefix exists, run nothing (the end-to-end
#                  runner copies it itself)
#
# The template prefix is made once per root: headless null graphics driver, no crash dialog, and
# the user folders that Wine links to the host's home replaced by real folders.
set -euo pipefail

prog=${1:?usage: wine-run.sh PROGRAM.exe [ARGS...]}
shift
prog_dir=$(cd "$(dirname "$prog")" && pwd)
root=${QWINE_ROOT:-$prog_dir/../wine}
mkdir -p "$root"
root=$(cd "$root" && pwd)

export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="winemenubuilder.exe=d;winedbg.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
export WINEARCH=win64
unset DISPLAY_FOR_WINE
WINE=${QWINE_WINE:-wine64}
command -v "$WINE" >/dev/null || WINE=/usr/lib/wine/wine64

make_template() {
    local t=$root/template
    [ -f "$t/.ready" ] && return 0
    rm -rf "$t"
    local saved_display=${DISPLAY-}
    unset DISPLAY
    WINEPREFIX=$t "$WINE" wineboot -i >/dev/null 2>&1 || true
    local u
    for u in "$t"/drive_c/users/*/; do
        local link
        for link in "$u"*; do
            if [ -L "$link" ]; then rm -f "$link"; mkdir -p "$link"; fi
        done
    done
    WINEPREFIX=$t "$WINE" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
    WINEPREFIX=$t "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    WINEPREFIX=$t wineserver -k 2>/dev/null || true
    WINEPREFIX=$t wineserver -w 2>/dev/null || true
    [ -n "$saved_display" ] && export DISPLAY=$saved_display
    touch "$t/.ready"
}

copy_template() {
    # A hard-linked copy would share files between prefixes; a real copy keeps them independent.
    cp -a "$root/template" "$1"
}

(
    flock 9
    make_template
    if [ -z "${QWINE_PREFIX:-}" ] && [ -z "${QWINE_FRESH:-}" ] && [ -z "${QWINE_XVFB:-}" ] \
        && [ ! -f "$root/shared/.ready" ]; then
        rm -rf "$root/shared"
        copy_template "$root/shared"
        touch "$root/shared/.ready"
    fi
) 9>"$root/.lock"
[ -n "${QWINE_TEMPLATE_ONLY:-}" ] && exit 0

fresh=""
xvfb_pid=""
cleanup() {
    if [ -n "$fresh" ]; then
        WINEPREFIX=$fresh wineserver -k 2>/dev/null || true
        WINEPREFIX=$fresh wineserver -w 2>/dev/null || true
        if [ -n "${QWINE_KEEP:-}" ]; then echo "kept prefix: $fresh" >&2; else rm -rf "$fresh"; fi
    fi
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

if [ -n "${QWINE_PREFIX:-}" ]; then
    export WINEPREFIX=$QWINE_PREFIX
elif [ -n "${QWINE_FRESH:-}" ] || [ -n "${QWINE_XVFB:-}" ]; then
    mkdir -p "$root/fresh"
    fresh=$(mktemp -d "$root/fresh/p.XXXXXX")
    rmdir "$fresh"
    copy_template "$fresh"
    export WINEPREFIX=$fresh
else
    export WINEPREFIX=$root/shared
fi

if [ -n "${QWINE_XVFB:-}" ]; then
    # A private display; Managed=N because there is no window manager to answer hides.
    for n in $(seq 90 190); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        xvfb_pid=$!
        for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.05; done
        if kill -0 "$xvfb_pid" 2>/dev/null; then export DISPLAY=":$n"; break; fi
        xvfb_pid=""
    done
    [ -n "$xvfb_pid" ] || { echo "wine-run: no Xvfb display could be started" >&2; exit 2; }
    "$WINE" reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f >/dev/null 2>&1 || true
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
else
    unset DISPLAY
fi

# A warm server makes each following program start in a fraction of a second. The session's own
# processes (services, desktop) must not inherit our output, or whoever reads it (ctest) waits for
# them forever: start the session with a quiet program first.
wineserver -p </dev/null >/dev/null 2>&1 || true
"$WINE" reg query 'HKCU\Software\Wine' </dev/null >/dev/null 2>&1 || true

if [ -n "${QWINE_VERSION:-}" ]; then
    "$WINE" reg add "HKCU\\Software\\Wine\\AppDefaults\\$(basename "$prog")" /v Version \
        /d "$QWINE_VERSION" /f >/dev/null 2>&1
fi

set +e
"$WINE" "$prog" "$@"
status=$?
set -e
exit $status
