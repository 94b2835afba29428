#!/usr/bin/env bash
# The batch against single runs on a site fresh from the box (scripts/factory-lan.conf: five
# controllers at one factory address beside one already set up). Each figure comes from a
# test LAN of its own, so every run starts from the factory state:
#   singles  five `lumaro-cli enable-web SERIAL`, one after another, in serial order
#   batch    one `lumaro-cli enable-web --all --yes` (its plan included)
#   plan     the plan alone, `lumaro-cli enable-web --all --dry-run`
#
#   scripts/bench-batch.sh [BUILD_DIR]      (default: build/linux)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$(cd "${1:-$here/../build/linux}" && pwd)
site="$here/factory-lan.conf"

if [ $# -lt 2 ]; then
    for mode in singles batch plan; do "$here/bench-batch.sh" "$build" "$mode"; done
    exit 0
fi
mode=$2

# shellcheck source=lib/lab-guard.sh
. "$here/lib/lab-guard.sh"
run_in_own_lab bench-batch -- "$here/bench-batch.sh" "$build" "$mode"

# shellcheck source=lib/lab-services.sh
. "$here/lib/lab-services.sh"
work=$(mktemp -d)
sim_pid=""
cleanup() {
    [ -z "$sim_pid" ] || { kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; }
    rm -rf "$work"
}
trap cleanup EXIT
start_simulator "$work" "$build/sim/lumaro-sim" --config "$site"
cli="$build/cli/lumaro-cli"
fresh=$(sed -n 's/^serial=\([0-9]*\) ip=192\.168\.1\.100 .*/\1/p' "$site")

start=$(date +%s.%N)
case $mode in
    singles) for serial in $fresh; do "$cli" enable-web "$serial" >/dev/null; done ;;
    batch) "$cli" enable-web --all --yes >/dev/null 2>&1 ;;
    plan) "$cli" enable-web --all --dry-run >/dev/null ;;
    *) echo "bench-batch.sh: unknown mode $mode" >&2; exit 2 ;;
esac
end=$(date +%s.%N)
awk -v mode="$mode" -v start="$start" -v end="$end" 'BEGIN { printf "%-8s %6.1f s\n", mode, end - start }'
