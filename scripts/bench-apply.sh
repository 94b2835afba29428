#!/usr/bin/env bash
# lumaro-cli apply on a whole site: the 55 controllers of scripts/factory-site.conf (fifty
# fresh from the box at one factory address, five set up) with the plan
# scripts/factory-site-plan.csv (the fifty to 10.0.1.61-110, two of the five swapping
# addresses, one moving, two as planned). Each figure comes from a test LAN of its own, so
# every run starts from the factory state:
#   apply     `lumaro-cli apply PLAN --yes`, then a search that must list every row as planned
#   plan      the plan alone, `lumaro-cli apply PLAN --dry-run`: the search and the ARP asks
#   one       a plan of the first fresh controller alone, applied: a search, its ARP ask, one
#             write (the panel's apply and the search after it) and the final search
#   one-plan  that small plan alone, `--dry-run`
# The floor that no apply of the site can beat: plan + (one - one-plan), the whole plan and
# one controller's write, plus the fixed spacing of the writes' starts (0.5 s between two,
# for the controllers' sake; the number of writes from the plan's order).
#
#   scripts/bench-apply.sh [--modes "apply plan one one-plan"] [--jobs N] [--windows] [BUILD_DIR]
#
#   --windows  lumaro-cli.exe under Wine (BUILD_DIR default build/windows): every figure in a
#              Wine prefix of its own, started inside the lab (its start is in the figure)
#   BUILD_DIR  default: build/linux
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

site="$here/factory-site.conf"
plan="$here/factory-site-plan.csv"
modes="apply plan one one-plan"
windows=0
jobs=""
build=""
while [ $# -gt 0 ]; do
    case $1 in
        --modes) modes=$2; shift ;;
        --jobs) jobs=$2; shift ;;
        --windows) windows=1 ;;
        --one-figure) shift; break ;;  # the inner call in its lab: BUILD MODE follow
        -*) echo "bench-apply.sh: unknown option $1" >&2; exit 2 ;;
        *) build=$1 ;;
    esac
    shift
done

if [ -z "${LUMARO_BENCH_INNER:-}" ]; then
    if [ -z "$build" ]; then
        build="$here/../build/linux"
        [ "$windows" = 0 ] || build="$here/../build/windows"
    fi
    build=$(cd "$build" && pwd)
    echo "load before: $(uptime)"
    declare -A figure
    for mode in $modes; do
        output=$(LUMARO_BENCH_INNER=1 LUMARO_BENCH_WINDOWS=$windows LUMARO_BENCH_JOBS=$jobs \
            "$here/bench-apply.sh" --one-figure "$build" "$mode")
        line=$(head -n1 <<<"$output")
        echo "$line"
        figure[$mode]=$(awk '{ print $(NF - 1) }' <<<"$line")
        [ "$mode" != plan ] || writes=$(sed -n 's/^writes //p' <<<"$output")
    done
    echo "load after: $(uptime)"
    if [ -n "${figure[plan]:-}" ] && [ -n "${figure[one]:-}" ] && [ -n "${figure[one-plan]:-}" ]; then
        awk -v plan="${figure[plan]}" -v one="${figure[one]}" -v onePlan="${figure[one-plan]}" \
            -v writes="$writes" 'BEGIN {
                floor = plan + (one - onePlan)
                printf "floor: the plan %.1f s + one write %.1f s = %.1f s; with the spacing of %d starts (%.1f s) %.1f s\n",
                       plan, one - onePlan, floor, writes, (writes - 1) * 0.5, floor + (writes - 1) * 0.5 }'
    fi
    exit 0
fi

build=$1 mode=$2
# shellcheck source=lib/lab-guard.sh
. "$here/lib/lab-guard.sh"
run_in_own_lab bench-apply -- "$here/bench-apply.sh" --one-figure "$build" "$mode"

# shellcheck source=lib/lab-services.sh
. "$here/lib/lab-services.sh"
work=$(mktemp -d)
sim_pid=""
cleanup() {
    [ -z "$sim_pid" ] || { kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; }
    rm -rf "$work"
}
trap cleanup EXIT
native_build=$build
[ "$LUMARO_BENCH_WINDOWS" = 0 ] || native_build="$here/../build/linux"
start_simulator "$work" "$native_build/sim/lumaro-sim" --config "$site"
if [ "$LUMARO_BENCH_WINDOWS" = 0 ]; then
    cli=("$build/cli/lumaro-cli")
else
    cli=("$here/wine-run.sh" "$build/cli/lumaro-cli.exe")
fi
jobs_option=()
[ -z "${LUMARO_BENCH_JOBS:-}" ] || jobs_option=(--jobs "$LUMARO_BENCH_JOBS")
# The first fresh controller's row alone, under the header.
one="$work/one.csv"
awk 'NR == 1 || (/,3000000001,/ && !done) { print; if (NR > 1) done = 1 }' "$plan" >"$one"

start=$(date +%s.%N)
case $mode in
    apply) "${cli[@]}" apply "$plan" --yes "${jobs_option[@]}" >"$work/summary" 2>"$work/errors" ||
               { cat "$work/errors" "$work/summary" >&2; exit 1; } ;;
    plan) "${cli[@]}" apply "$plan" --dry-run --format csv >"$work/plan" ;;
    one) "${cli[@]}" apply "$one" --yes >"$work/summary" 2>"$work/errors" ||
             { cat "$work/errors" "$work/summary" >&2; exit 1; } ;;
    one-plan) "${cli[@]}" apply "$one" --dry-run >/dev/null ;;
    *) echo "bench-apply.sh: unknown mode $mode" >&2; exit 2 ;;
esac
end=$(date +%s.%N)
if [ "$mode" = apply ]; then
    # What the LAN says afterwards, not apply's own report: every planned value listed.
    "$native_build/cli/lumaro-cli" search --format csv | tr -d '\r' >"$work/after"
    tail -c +4 "$plan" | tr -d '\r' | awk -F, -v after="$work/after" '
        BEGIN { while ((getline line < after) > 0) { split(line, f, ","); listed[f[1]] = f[2] "," f[3] "," f[4] "," f[7] } }
        NR > 1 && $3 != "" { want = $3 "," $4 "," $5 ",true"
              if (listed[$2] != want) { bad = bad " " $2 " (" listed[$2] ")"; } }
        END { if (bad) { print "bench-apply.sh: not as planned:" bad > "/dev/stderr"; exit 1 } }'
fi
label=$mode
[ "$mode" != apply ] || [ -z "${LUMARO_BENCH_JOBS:-}" ] || label="apply --jobs $LUMARO_BENCH_JOBS"
awk -v label="$label" -v start="$start" -v end="$end" \
    'BEGIN { printf "%-22s %6.1f s\n", label, end - start }'
if [ "$mode" = plan ]; then
    # The writes the plan orders (its column "order": "4", or "1 and 3" for a ring's).
    tr -d '\r' <"$work/plan" | awk -F, 'NR > 1 { n = split($8, numbers, " and "); for (i = 1; i <= n; i++)
        if (numbers[i] + 0 > most) most = numbers[i] + 0 } END { print "writes " most }'
fi
