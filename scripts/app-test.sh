#!/usr/bin/env bash
# Runs a Windows test program under Wine beside lumaro-sim, in a test LAN of its own, on a
# private Xvfb screen (none with --console); exits with the program's status.
#
#   app-test.sh --sim PATH [--lan FILE] [--lab "LAB OPTIONS"] [--console] [--artifacts DIR]
#               -- PROGRAM.exe [ARGS...]
#
#   --sim PATH        the native lumaro-sim (from the Linux build)
#   --lan FILE        the controllers to start with (default: none)
#   --lab OPTIONS     lab.sh options of the LAN, in one word (default: "--pc 0:10.0.1.1/24",
#                     the PC as 10.0.1.1/24 on the LAN's one segment)
#   --console         a console program: no X screen
#   --artifacts DIR   where the program may ask for pictures of its screen
#                     (LUMARO_WINE_SHOTS of scripts/wine-run.sh)
#
# lumaro-sim serves every segment of the LAN. The program sees LUMARO_SIM_CONTROL,
# lumaro-sim's control directory (a Unix path: send "load FILE" there to change the LAN),
# LUMARO_SIM_LOG, its log of received frames, LUMARO_WINE_ERRORS, a copy of what Wine's
# processes write to standard error (the traces of a program started with WINEDEBUG set),
# and LUMARO_BROWSER_LOG, the web addresses handed to the default browser, one a line.
# LUMARO_WINE_XVFB (default 1024x768x24) and LUMARO_WINE_DPI reach scripts/wine-run.sh.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=lib/lab-services.sh
. "$here/lib/lab-services.sh"
# shellcheck source=lib/lab-guard.sh
. "$here/lib/lab-guard.sh"
die() { echo "app-test.sh: $*" >&2; exit 2; }

arguments=("$@")
sim="" lan="" lab="--pc 0:10.0.1.1/24" console=0 artifacts=""
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
    case $1 in
        --sim) sim=$2; shift 2 ;;
        --lan) lan=$2; shift 2 ;;
        --lab) lab=$2; shift 2 ;;
        --console) console=1; shift ;;
        --artifacts) artifacts=$2; shift 2 ;;
        *) die "unknown option $1" ;;
    esac
done
[ $# -ge 2 ] || die "usage: app-test.sh --sim PATH [--lan FILE] [--lab OPTIONS] [--console] -- PROGRAM.exe [ARGS...]"
shift
[ -x "$sim" ] || die "no lumaro-sim at '$sim': build the Linux side first (scripts/build.sh linux)"

read -ra lab_options <<<"$lab"
run_in_own_lab app "${lab_options[@]}" -- "$here/app-test.sh" "${arguments[@]}"

work=$(mktemp -d "${TMPDIR:-/tmp}/lumaro-app-test.XXXXXX")
sim_pid=""
teardown() {
    set +e
    if [ -n "$sim_pid" ]; then
        kill "$sim_pid" 2>/dev/null
        wait "$sim_pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap teardown EXIT
trap 'exit 143' TERM
trap 'exit 130' INT

mkdir "$work/control"
if [ -z "$lan" ]; then
    lan="$work/no-controllers.conf"
    echo "# no controllers" >"$lan"
fi
start_simulator "$work" "$sim" --config "$lan" --control "$work/control" \
    --log "$work/frames.log" || die "no simulator"

export LUMARO_SIM_CONTROL="$work/control" LUMARO_SIM_LOG="$work/frames.log"
export LUMARO_WINE_ERRORS="$work/wine-errors.log"
# A stand-in for the default browser: it writes down every address that it is given.
make_browser_recorder "$work"
export LUMARO_BROWSER_LOG="$work/browser.log"
unset DISPLAY
[ -z "$artifacts" ] || export LUMARO_WINE_SHOTS="$artifacts"
status=0
if [ "$console" = 1 ]; then
    "$here/wine-run.sh" "$@" 2> >(tee -a "$LUMARO_WINE_ERRORS" >&2) || status=$?
else
    LUMARO_WINE_XVFB=${LUMARO_WINE_XVFB:-1024x768x24} "$here/wine-run.sh" "$@" \
        2> >(tee -a "$LUMARO_WINE_ERRORS" >&2) || status=$?
fi
exit "$status"
