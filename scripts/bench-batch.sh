#!/usr/bin/env bash
# The batch against single runs, and the batch at several --jobs, on a site fresh from the
# box. Each figure comes from a test LAN of its own, so every run starts from the factory
# state:
#   singles  one `lumaro-cli enable-web SERIAL` per fresh controller, one after another
#   batch    one `lumaro-cli enable-web --all --yes --jobs N` (its plan included), once per
#            value of --jobs ("default": without --jobs)
#   plan     the plan alone, `lumaro-cli enable-web --all --dry-run`
#   one      the batch limited to the first fresh controller (`--all --yes SERIAL`): a
#            search, its small plan and one procedure
#   one-plan that small plan alone (`--all --dry-run SERIAL`)
# plan + (one - one-plan), the whole plan and one controller's procedure, is the floor that
# no batch of the site can beat: it must plan them all before the last one starts.
#
#   scripts/bench-batch.sh [--site] [--jobs "1 2 4 8 16 default"] [--modes "..."]
#                          [--windows] [BUILD_DIR]
#
#   --site     the 55-controller site (scripts/factory-site.conf: fifty controllers at one
#              factory address, five already set up) instead of scripts/factory-lan.conf
#              (five beside one)
#   --jobs     the values for the batch (default: "default")
#   --modes    which figures (default: "singles batch plan one one-plan"; singles is left out with
#              --site, where it takes about seven minutes: use --jobs 1 for that order)
#   --windows  lumaro-cli.exe under Wine (BUILD_DIR default build/windows): every figure
#              in a Wine prefix of its own, started inside the lab
#   BUILD_DIR  default: build/linux
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

site="$here/factory-lan.conf"
jobs_list="default"
modes=""
windows=0
build=""
while [ $# -gt 0 ]; do
    case $1 in
        --site) site="$here/factory-site.conf" ;;
        --jobs) jobs_list=$2; shift ;;
        --modes) modes=$2; shift ;;
        --windows) windows=1 ;;
        --one-figure) shift; break ;;  # the inner call in its lab: MODE JOBS follow
        -*) echo "bench-batch.sh: unknown option $1" >&2; exit 2 ;;
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
    if [ -z "$modes" ]; then
        modes="singles batch plan one one-plan"
        [ "$site" = "$here/factory-lan.conf" ] || modes="batch plan one one-plan"
    fi
    for mode in $modes; do
        values=("-")
        [ "$mode" != batch ] || read -ra values <<<"$jobs_list"
        for jobs in "${values[@]}"; do
            LUMARO_BENCH_INNER=1 LUMARO_BENCH_SITE=$site LUMARO_BENCH_WINDOWS=$windows \
                "$here/bench-batch.sh" --one-figure "$build" "$mode" "$jobs"
        done
    done
    exit 0
fi

build=$1 mode=$2 jobs=$3
site=$LUMARO_BENCH_SITE
# shellcheck source=lib/lab-guard.sh
. "$here/lib/lab-guard.sh"
run_in_own_lab bench-batch -- "$here/bench-batch.sh" --one-figure "$build" "$mode" "$jobs"

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
    # Each command in a fresh Wine prefix: its start (a second or two) is in the figure.
    cli=("$here/wine-run.sh" "$build/cli/lumaro-cli.exe")
fi
fresh=$(sed -n 's/^serial=\([0-9]*\) ip=192\.168\.1\.100 .*/\1/p' "$site")
first=$(head -n1 <<<"$fresh")
jobs_option=()
[ "$jobs" = default ] || [ "$jobs" = - ] || jobs_option=(--jobs "$jobs")

# Every figure must be a success: a batch that failed somewhere is no time for the site.
start=$(date +%s.%N)
case $mode in
    singles) for serial in $fresh; do "${cli[@]}" enable-web "$serial" >/dev/null; done ;;
    batch) "${cli[@]}" enable-web --all --yes "${jobs_option[@]}" >"$work/summary" 2>"$work/errors" ||
               { cat "$work/errors" "$work/summary" >&2; exit 1; } ;;
    plan) "${cli[@]}" enable-web --all --dry-run >/dev/null ;;
    one) "${cli[@]}" enable-web --all --yes "$first" >/dev/null 2>&1 ;;
    one-plan) "${cli[@]}" enable-web --all --dry-run "$first" >/dev/null ;;
    *) echo "bench-batch.sh: unknown mode $mode" >&2; exit 2 ;;
esac
end=$(date +%s.%N)
if [ "$mode" = batch ]; then
    # What the LAN says afterwards, not the batch's report: every controller at an address
    # of its own with its web server on, the ones set up beforehand where they were.
    "$native_build/cli/lumaro-cli" search --format csv | tr -d '\r' >"$work/after"
    awk -F, -v site="$site" '
        BEGIN { while ((getline line < site) > 0) if (line ~ /^serial=/) {
                    split(line, f, /[ =]/); listed++; ip = f[4]
                    if (match(line, /dhcp=[0-9.]+/)) ip = substr(line, RSTART + 5, RLENGTH - 5)
                    if (ip != "192.168.1.100") kept[f[2]] = ip } }
        NR > 1 { rows++; if (seen[$2]++) twice = twice " " $2; if ($7 != "true") off = off " " $1
                 if (($1 in kept) && kept[$1] != $2) moved = moved " " $1 }
        END { if (rows != listed || twice || off || moved) {
                  printf "bench-batch.sh: %d of %d listed; twice:%s; web off:%s; set-up moved:%s\n",
                         rows, listed, twice, off, moved > "/dev/stderr"; exit 1 } }' "$work/after"
fi
label=$mode
[ "$mode" != batch ] || label="batch --jobs $jobs"
awk -v label="$label" -v start="$start" -v end="$end" \
    'BEGIN { printf "%-22s %6.1f s\n", label, end - start }'
