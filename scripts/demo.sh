#!/usr/bin/env bash
# Shows lumaro.exe at work: brings up a test LAN with a handful of simulated controllers
# (scripts/demo-lan.conf), starts lumaro.exe under Wine on the PC's side of it, saves a
# screenshot once the window shows the controllers, and prints where it is.
#
#   demo.sh [options]
#
# With DISPLAY set the window opens on that display and the demo ends when you close it;
# without one it opens on a private Xvfb screen (inside a Wine desktop window, which draws
# the caption) and is closed right after the screenshot. Build first: scripts/build.sh
# linux windows.
#
#   --exe PATH              lumaro.exe (default: build/windows/app/lumaro.exe)
#   --reader PATH           window-reader.exe, which reads the window from outside
#                           (default: build/windows/tools/window-reader/window-reader.exe)
#   --sim PATH              lumaro-sim (default: build/linux/sim/lumaro-sim)
#   --lan FILE              the simulated controllers (default: scripts/demo-lan.conf)
#   --screenshot FILE       where to save the screenshot (default: build/demo/lumaro-demo.png)
#   --report FILE           keep what the window showed there (caption, then one line a row)
#   --geometry FILE         keep there where the screen shows the caption bar and each row
#   --sim-log FILE          keep lumaro-sim's log of the frames it received there
#   --one-click SERIAL      click that controller's row and the one-click button first, as a
#                           user would (123000777, at a factory address of another subnet,
#                           is moved into the PC's subnet and its page opened)
#   --browser-log FILE      keep there the page addresses handed to the browser; on a private
#                           screen a recorder stands in for the browser and they are printed
#   --xvfb                  use a private Xvfb screen even when DISPLAY is set
#   --screenshot-and-exit   close lumaro.exe right after the screenshot
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=lib/lab-services.sh
. "$here/lib/lab-services.sh"
# shellcheck source=lib/lab-guard.sh
. "$here/lib/lab-guard.sh"
top=$(dirname "$here")
die() { echo "demo.sh: $*" >&2; exit 2; }

arguments=("$@")
exe="$top/build/windows/app/lumaro.exe"
reader="$top/build/windows/tools/window-reader/window-reader.exe"
sim="$top/build/linux/sim/lumaro-sim"
lan="$here/demo-lan.conf"
screenshot="$top/build/demo/lumaro-demo.png"
report="" geometry="" sim_log="" use_xvfb=0 exit_after_shot=0 one_click="" browser_log=""
while [ $# -gt 0 ]; do
    case $1 in
        --exe) exe=$2; shift 2 ;;
        --reader) reader=$2; shift 2 ;;
        --sim) sim=$2; shift 2 ;;
        --lan) lan=$2; shift 2 ;;
        --screenshot) screenshot=$2; shift 2 ;;
        --report) report=$2; shift 2 ;;
        --geometry) geometry=$2; shift 2 ;;
        --sim-log) sim_log=$2; shift 2 ;;
        --one-click) one_click=$2; shift 2 ;;
        --browser-log) browser_log=$2; shift 2 ;;
        --xvfb) use_xvfb=1; shift ;;
        --screenshot-and-exit) exit_after_shot=1; shift ;;
        *) die "unknown option $1 (see the comment at the top of $0)" ;;
    esac
done
for file in "$exe" "$reader" "$sim" "$lan"; do
    [ -e "$file" ] || die "missing $file: build first (scripts/build.sh linux windows)"
done

run_in_own_lab demo --pc 0:10.0.1.1/24 -- "$here/demo.sh" "${arguments[@]}"

absolute() { (cd "$(dirname "$1")" && echo "$(pwd)/$(basename "$1")"); }
# Wine shows the Unix file system as drive Z:.
windows_path() { local path; path=$(absolute "$1"); printf 'Z:%s' "${path//\//\\}"; }

work=$(mktemp -d "${TMPDIR:-/tmp}/lumaro-demo.XXXXXX")
sim_pid="" xvfb_pid="" wine_pid=""
teardown() {
    set +e
    for pid in $wine_pid $sim_pid $xvfb_pid; do
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    rm -rf "$work"
}
trap teardown EXIT
trap 'exit 143' TERM
trap 'exit 130' INT

start_simulator "$work" "$sim" --config "$lan" --log "$work/frames.log" || die "no simulator"
echo "demo.sh: $(cat "$work/sim.out") on the test LAN (the PC is 10.0.1.1/24)"

if [ -z "${DISPLAY:-}" ]; then use_xvfb=1; fi
if [ "$use_xvfb" = 1 ]; then
    exit_after_shot=1  # nobody can see a private screen
    start_xvfb "$work" 1024x640x24 || die "no X screen"
fi

if [ "$use_xvfb" = 1 ] || [ -n "$browser_log" ]; then
    # Nobody could see a browser on a private screen: a recorder takes the page addresses.
    make_browser_recorder "$work"
fi

reader_arguments=("$(windows_path "$exe")" --report "$(windows_path "$work")\\report.txt"
                  --geometry "$(windows_path "$work")\\geometry.txt")
[ -z "$one_click" ] || reader_arguments+=(--one-click "$one_click")
if [ "$exit_after_shot" = 1 ]; then
    reader_arguments+=(--hold "$(windows_path "$work")\\shot-taken" --close)
fi
if [ "$use_xvfb" = 1 ]; then
    # Without a window manager only a Wine desktop window draws the dialog's caption.
    "$here/wine-run.sh" explorer /desktop=Lumaro,1024x640 "$(windows_path "$reader")" \
        "${reader_arguments[@]}" >"$work/reader.out" 2>&1 &
else
    "$here/wine-run.sh" "$(windows_path "$reader")" "${reader_arguments[@]}" >"$work/reader.out" 2>&1 &
fi
wine_pid=$!

for _ in $(seq 1800); do  # Wine's start and the search: a few seconds; allow three minutes
    [ -e "$work/report.txt" ] && break
    kill -0 "$wine_pid" 2>/dev/null || break
    sleep 0.1
done
[ -e "$work/report.txt" ] || die "lumaro.exe showed no window: $(cat "$work/reader.out")"

mkdir -p "$(dirname "$screenshot")"
window=root
if [ "$use_xvfb" = 0 ] && command -v xdotool >/dev/null; then
    window=$(xdotool search --name '^Lumaro' | head -n1 || true)
    [ -n "$window" ] || window=root
fi
import -window "$window" "$screenshot"
echo "demo.sh: lumaro.exe shows:"
sed 's/^/    /' "$work/report.txt"
echo "demo.sh: screenshot saved in $(absolute "$screenshot")"
[ -z "$report" ] || cp "$work/report.txt" "$report"
[ -z "$geometry" ] || cp "$work/geometry.txt" "$geometry"
if [ -e "$work/browser.log" ]; then
    echo "demo.sh: the browser was handed:"
    sed 's/^/    /' "$work/browser.log"
fi
[ -z "$browser_log" ] || cp "$work/browser.log" "$browser_log" 2>/dev/null || : >"$browser_log"

if [ "$exit_after_shot" = 1 ]; then
    touch "$work/shot-taken"
else
    echo "demo.sh: close the Lumaro window to end the demo"
fi
status=0
wait "$wine_pid" || status=$?
wine_pid=""
[ -z "$sim_log" ] || cp "$work/frames.log" "$sim_log"
[ "$status" = 0 ] || die "window-reader failed: $(cat "$work/reader.out")"
