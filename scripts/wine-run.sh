#!/usr/bin/env bash
# Runs one Windows program under Wine, inside an isolated test LAN, in a Wine prefix of its
# own; exits with the program's exit code. CTest uses it as the emulator of the Windows
# build.
#
#   wine-run.sh PROGRAM.exe [ARGS...]
#
# Outside a lab (LUMARO_LAB unset) it first makes a fresh one,
#   scripts/lab.sh run wine+ $LUMARO_LAB_OPTIONS -- wine-run.sh PROGRAM.exe ARGS...
# so that the wineserver's sockets and the interface reads of Wine's services all happen in
# the lab's PC namespace. Inside a lab (e.g. beside the simulator) it runs in place.
#
# The prefix is a copy-on-write overlay over the template of scripts/wine-prefix.sh (made
# once), so runs in parallel never share a prefix or a wineserver. At the end the run's
# wineserver is ended (wineserver -k) and the prefix removed.
#
# Environment:
#   LUMARO_LAB_OPTIONS    lab.sh options when this script makes the lab,
#                         e.g. "--pc 0:10.0.1.1/24 --lo 127.0.0.2/8" (default: lab.sh's own)
#   LUMARO_WINE_TEMPLATE  the template prefix (default: <repository>/build/wine-template)
#   LUMARO_WINE_RUNS      where the run's prefix is made (default: $TMPDIR, else /tmp)
#   DISPLAY               passed through: windows appear on that X server. Unset, console
#                         programs need no display.
#   LUMARO_WINE_XVFB      a screen such as 1024x768x24: start a private Xvfb for this run
#                         and point DISPLAY at it (it is stopped at the end).
#   LUMARO_WINE_SHOTS     a directory in which the program may ask for pictures of the
#                         screen (scripts/lib/lab-services.sh, serve_screenshots); needs
#                         LUMARO_WINE_XVFB or DISPLAY.
#   LUMARO_WINE_DESKTOP   a size such as 1280x800: run the program inside a Wine desktop
#                         window of that size, which draws the windows' captions and frames
#                         when no window manager does.
#   LUMARO_WINE_BROWSER   the program (a Unix path) that gets the web addresses that the
#                         program hands to the default browser (e.g. a recorder in tests).
#   LUMARO_WINE_DPI       the display's DPI for this run (e.g. 144), written into the
#                         prefix's registry (HKCU\Control Panel\Desktop, LogPixels) before
#                         the program starts. Default: Wine's own, 96.
#   LUMARO_WINE_DEBUG     Wine's WINEDEBUG for the run (e.g. "+pid,+process,err+all" to see
#                         which processes start and what fails). Default: -all, silent.
#   LUMARO_WINE_TIMEOUT   seconds after which the program is stopped (exit status 124);
#                         keep it below the caller's own limit (e.g. CTest's TIMEOUT), so
#                         that the teardown still runs. Default: no limit.
set -euo pipefail
# A step of this script that fails ends it: say which, so that the failure is never silent.
trap 'echo "wine-run.sh: line $LINENO failed (status $?): $BASH_COMMAND" >&2' ERR

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=lib/lab-services.sh
. "$here/lib/lab-services.sh"
# shellcheck source=lib/lab-guard.sh
. "$here/lib/lab-guard.sh"
die() { echo "wine-run.sh: $*" >&2; exit 2; }
[ $# -ge 1 ] || die "usage: wine-run.sh PROGRAM.exe [ARGS...]"

read -ra lab_options <<<"${LUMARO_LAB_OPTIONS:-}"
run_in_own_lab wine "${lab_options[@]}" -- "$here/wine-run.sh" "$@"

template=$("$here/wine-prefix.sh" template)
run=$(mktemp -d "${LUMARO_WINE_RUNS:-${TMPDIR:-/tmp}}/lumaro-wine.XXXXXX")
prefix="$run/prefix"
xvfb_pid="" shot_pid=""

export WINEPREFIX="$prefix" WINEDEBUG=${LUMARO_WINE_DEBUG:--all}
# The wineserver's socket directory goes into the run's directory, and leaves with it.
export TMPDIR="$run/tmp"
# No menu entries in the host's desktop, no offer to install .NET or HTML engines.
overrides="winemenubuilder.exe=d;mscoree,mshtml="
export WINEDLLOVERRIDES="$overrides${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"

teardown() {
    set +e
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    if [ -n "$shot_pid" ]; then
        kill "$shot_pid" 2>/dev/null || true
        wait "$shot_pid" 2>/dev/null || true
    fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    if mountpoint -q "$prefix"; then umount "$prefix" || umount -l "$prefix"; fi
    rm -rf "$run"
}
trap teardown EXIT
trap 'exit 143' TERM
trap 'exit 130' INT

mkdir -p "$prefix" "$run/upper" "$run/work" "$TMPDIR"
# lab.sh runs us through 'ip netns exec', which gives us a mount namespace of our own: the
# overlay is seen by this run only. Without overlay support, a full copy (about 1 s, 700 MB).
if ! mount -t overlay overlay \
    -o "lowerdir=$template,upperdir=$run/upper,workdir=$run/work" "$prefix" 2>/dev/null; then
    cp -a "$template/." "$prefix/"
fi

if [ -n "${LUMARO_WINE_XVFB:-}" ]; then
    start_xvfb "$run" "$LUMARO_WINE_XVFB" || die "no X screen"
fi

# The prefix's server, started here as a step of its own: a Wine program that starts it
# itself ends with the server's status and says nothing when the server fails to start.
wineserver_status=0
wineserver || wineserver_status=$?
[ "$wineserver_status" -eq 0 ] || die "the wineserver did not start (status $wineserver_status)"

if [ -n "${LUMARO_WINE_SHOTS:-}" ]; then
    mkdir -p "$LUMARO_WINE_SHOTS" "$run/shots"
    # The requests go through this run's own folder (the pictures' folder is shared).
    export LUMARO_WINE_SHOT_REQUESTS="$run/shots"
    serve_screenshots "$LUMARO_WINE_SHOTS" "$run/shots"
fi

# Settings of this run's prefix, written before the program starts.
settings=()
if [ -n "${LUMARO_WINE_DPI:-}" ] && [ "$LUMARO_WINE_DPI" != 96 ]; then
    settings+=('[HKEY_CURRENT_USER\Control Panel\Desktop]'
               "\"LogPixels\"=dword:$(printf '%08x' "$LUMARO_WINE_DPI")")
fi
if [ -n "${LUMARO_WINE_BROWSER:-}" ]; then
    # Where ShellExecute sends a web address (winebrowser tries the programs listed here).
    settings+=('[HKEY_CURRENT_USER\Software\Wine\WineBrowser]'
               "\"Browsers\"=\"${LUMARO_WINE_BROWSER//\\/\\\\}\"")
fi
if [ -n "${LUMARO_WINE_DESKTOP:-}" ]; then
    settings+=('[HKEY_CURRENT_USER\Software\Wine\Explorer]' '"Desktop"="Default"'
               '[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]'
               "\"Default\"=\"$LUMARO_WINE_DESKTOP\"")
fi
if [ ${#settings[@]} -gt 0 ]; then
    printf '%s\n' 'REGEDIT4' '' "${settings[@]}" >"$run/settings.reg"
    wine regedit /S "Z:${run//\//\\}\\settings.reg" >/dev/null 2>&1 ||
        die "cannot write the settings of the prefix"
fi

# In the background, so that a TERM is handled at once (bash defers traps while a
# foreground command runs); stdin is handed on explicitly, as '&' would replace it.
timeout "${LUMARO_WINE_TIMEOUT:-0}" wine "$@" <&0 &
status=0
wait "$!" || status=$?
[ "$status" -ne 124 ] || echo "wine-run.sh: $1 did not end within $LUMARO_WINE_TIMEOUT s" >&2
exit "$status"
