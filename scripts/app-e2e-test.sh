#!/usr/bin/env bash
# End-to-end test of lumaro.exe: runs the demo (scripts/demo.sh) on a private Xvfb screen
# and checks from outside the program that its window appeared with the right caption and
# the simulated controllers, and that the discovery frames reached every controller. The
# screenshot, what the window showed and the simulator's frame log stay in the artefacts
# folder.
#
#   app-e2e-test.sh --exe lumaro.exe --reader window-reader.exe --sim lumaro-sim --artifacts DIR
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
top=$(dirname "$here")
die() { echo "app-e2e-test.sh: $*" >&2; exit 2; }

exe="" reader="" sim="" artifacts=""
while [ $# -gt 0 ]; do
    case $1 in
        --exe) exe=$2; shift 2 ;;
        --reader) reader=$2; shift 2 ;;
        --sim) sim=$2; shift 2 ;;
        --artifacts) artifacts=$2; shift 2 ;;
        *) die "unknown option $1" ;;
    esac
done
[ -n "$exe" ] && [ -n "$reader" ] && [ -n "$sim" ] && [ -n "$artifacts" ] ||
    die "usage: app-e2e-test.sh --exe PATH --reader PATH --sim PATH --artifacts DIR"

lan="$here/demo-lan.conf"
expected="$top/tests/app/demo-lan.expected"
mkdir -p "$artifacts"
shot="$artifacts/lumaro-end-to-end.png"
report="$artifacts/window.txt"
geometry="$artifacts/geometry.txt"
frames="$artifacts/frames.log"
rm -f "$shot" "$report" "$geometry" "$frames"

browser="$artifacts/browser.log"
rm -f "$browser"
# The one-click on the controller at a factory address of another subnet: the first
# candidate, 10.0.1.123, is taken by the DHCP controller, so it moves to 10.0.1.124.
"$here/demo.sh" --exe "$exe" --reader "$reader" --sim "$sim" --lan "$lan" --xvfb \
    --one-click 123000777 --browser-log "$browser" \
    --screenshot-and-exit --screenshot "$shot" --report "$report" --geometry "$geometry" \
    --sim-log "$frames"

source "$top/scripts/lib/checks.sh"

check "the window's caption and list show the simulated controllers, one moved" \
    diff -u "$expected" "$report"
check "the browser was handed the moved controller's page" \
    test "$(cat "$browser" 2>/dev/null)" = "http://10.0.1.124/"
# Every controller received the four discovery frames of both searches (at the start and
# after the one-click), broadcast from the PC's address.
discovery="2410(b03101020000|f43302060000|ba3703080000|b03205020000)00000000ffffffff0000..00$"
while read -r serial; do
    count=$(grep -cE "^[0-9]+ $serial 10\.0\.1\.1:[0-9]+ B ok $discovery" "$frames" || true)
    check "controller $serial received 8 discovery broadcasts from 10.0.1.1 (got $count)" \
        test "$count" -eq 8
done < <(grep -oE '^serial=[0-9]+' "$lan" | cut -d= -f2)
# What a person looks for in the picture: the caption and every row of the report written
# there (anti-aliased text has many shades), and nothing below the last row.
size=$(identify -format '%wx%h' "$shot" 2>/dev/null || echo none)
check "the screenshot is the whole 1024x640 screen (got $size)" test "$size" = 1024x640
shades() {  # shades X Y WIDTH HEIGHT: distinct colours of that part of the screenshot
    convert "$shot" -crop "$3x$4+$1+$2" +repage -format '%k' info: 2>/dev/null || echo 0
}
rows=$(grep -c '^row' "$report" || true)
drawn_rows=0
while IFS=$'\t' read -r name x y width height; do
    count=$(shades "$x" "$y" "$width" "$height")
    case $name in
        caption) check "the caption bar at $x,$y shows its text ($count shades)" test "$count" -gt 8 ;;
        row) drawn_rows=$((drawn_rows + 1))
             check "list row $drawn_rows at $x,$y shows its text ($count shades)" test "$count" -gt 8 ;;
        empty) check "the list is blank below its last row ($count shades)" test "$count" -le 2 ;;
    esac
done <"$geometry"
check "the picture has the report's $rows rows (found $drawn_rows)" test "$drawn_rows" -eq "$rows" -a "$rows" -gt 0

echo "screenshot: $shot"
checks_end
