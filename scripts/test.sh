#!/usr/bin/env bash
# Every test: installs what is missing, builds, then runs the Linux tests (under
# AddressSanitizer and UndefinedBehaviorSanitizer), the Windows tests (under Wine), a short
# run of each fuzz target and the tests of the thread handoffs under ThreadSanitizer, as one
# suite: most tests wait on the protocol's timers, not on the CPU, so they run side by side
# (tests/schedule.cmake says which take turns).
#   scripts/test.sh [--quick] [--jobs N] [ctest options...]
#     --quick   the native build only, and only its tables of cases and the wire tests that
#               answer in seconds (ctest label "quick"): a developer's loop
#     --jobs N  tests at once (default 8, or LUMARO_TEST_JOBS)
# Tests that open sockets run in test LANs of their own (network namespaces): run as root.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
quick=0
jobs=${LUMARO_TEST_JOBS:-8}
ctest_options=()
while [ $# -gt 0 ]; do
    case $1 in
        --quick) quick=1 ;;
        --jobs) jobs=$2; shift ;;
        *) ctest_options+=("$1") ;;
    esac
    shift
done

"$top/scripts/setup.sh"
if [ $quick = 1 ]; then
    "$top/scripts/build.sh" linux-asan
    cd "$top/build/linux-asan"
    exec ctest --output-on-failure -j "$jobs" -L quick "${ctest_options[@]}"
fi

stage_start=$SECONDS
trees=(linux-asan windows fuzz linux-tsan)
"$top/scripts/build.sh" "${trees[@]}"
echo "test.sh: built in $((SECONDS - stage_start)) s"
# One ctest over the builds, so that the scheduling (locks, the longest first) holds across
# them.
suite="$top/build/every-test"
mkdir -p "$suite"
printf 'subdirs("%s")\n' "${trees[@]/#/$top/build/}" > "$suite/CTestTestfile.cmake"
cd "$suite"
stage_start=$SECONDS
status=0
ctest --output-on-failure -j "$jobs" "${ctest_options[@]}" || status=$?
echo "test.sh: tested in $((SECONDS - stage_start)) s"
exit $status
