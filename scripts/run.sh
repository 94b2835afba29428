#!/usr/bin/env bash
# The main job: installs what is missing, builds what the demo runs (lumaro-sim, lumaro.exe
# and window-reader.exe, which reads its window), and runs lumaro.exe under Wine on a test
# LAN of simulated controllers (scripts/demo.sh; its options pass through). With DISPLAY
# set the window opens there; without one a screenshot is saved and its path printed.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
"$top/scripts/build.sh" linux:lumaro-sim windows:lumaro,window-reader
exec "$top/scripts/demo.sh" "$@"
