#!/usr/bin/env bash
# The search benchmark (bench/search_bench.cpp): for 1, 2 and 4 PC interfaces on one
# segment and 1, 50 and 256 controllers, a search's wall time against the protocol's floor
# and against the floor with the replies' arrival, its CPU time, and an exchange against
# its floor. Each cell runs in a test LAN of its own. Builds the benchmark first.
#
#   scripts/bench.sh [--build DIR] [--runs N] [--interfaces "1 2 4"] [--controllers "1 50 256"]
#
#   --build DIR   the native build to use (default build/linux, a release build with debug
#                 information; configured when missing)
#   --runs N      searches per cell, of which the median counts (default 9)
#
# Ends with the table of README.md's "Search benchmark", one row per cell.
set -euo pipefail
# A step of this script that fails ends it: say which, so that the failure is never silent.
trap 'echo "bench.sh: line $LINENO failed (status $?): $BASH_COMMAND" >&2' ERR
here=$(cd "$(dirname "$0")" && pwd)
top=$(dirname "$here")
die() { echo "bench.sh: $*" >&2; exit 2; }

build="$top/build/linux" runs=9 interfaces="1 2 4" controllers="1 50 256"
while [ $# -gt 0 ]; do
    case $1 in
        --build) build=$2; shift 2 ;;
        --runs) runs=$2; shift 2 ;;
        --interfaces) interfaces=$2; shift 2 ;;
        --controllers) controllers=$2; shift 2 ;;
        *) die "unknown option $1 (see the comment at the top of $0)" ;;
    esac
done

if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
if ! built=$(cmake --build "$build" --target search_bench 2>&1); then
    echo "$built" >&2
    die "cannot build search_bench in $build"
fi

rows=() failed=()
for count in $interfaces; do
    pcs=()
    for ((i = 1; i <= count; i++)); do pcs+=(--pc "0:10.0.$i.1/24"); done
    for n in $controllers; do
        # A cell that fails still shows what it measured (its reason is on standard error),
        # and the others still run.
        status=0
        output=$("$here/lab.sh" run bench+ "${pcs[@]}" -- "$build/bench/search_bench" "$n" "$runs") ||
            status=$?
        echo "$output" | grep -v '^row ' || true
        rows+=("$(echo "$output" | sed -n 's/^row //p')")
        if [ "$status" -ne 0 ]; then
            echo "bench.sh: the cell of $count interfaces and $n controllers failed (status $status)" >&2
            failed+=("$count x $n")
        fi
    done
done

echo
echo "| PC interfaces | controllers | wall time | protocol floor | ratio | floor with the replies' arrival | ratio | CPU per search | exchange | ratio to its floor with the reply |"
echo "|---|---|---|---|---|---|---|---|---|---|"
printf '%s\n' "${rows[@]}"
if [ ${#failed[@]} -gt 0 ]; then
    echo "bench.sh: ${#failed[@]} cell(s) failed: ${failed[*]}" >&2
    exit 1
fi
