#!/usr/bin/env bash
# The fuzz targets' smoke runs as one test: every target at once, each for SECONDS, niced,
# so that they fill the CPU the wire tests leave idle and take one place among the suite's
# tests at a time rather than one each. Fails when any run fails, naming it; each run's
# output is shown with its name before every line.
#   smoke_side_by_side.sh SECONDS NAME PROGRAM WORK SEEDS [NAME PROGRAM WORK SEEDS ...]
set -uo pipefail
seconds=$1
shift
names=() pids=() logs=()
while [ $# -ge 4 ]; do
    name=$1 program=$2 work=$3 seeds=$4
    shift 4
    mkdir -p "$work/corpus" "$work/findings"
    log="$work/smoke.log"
    nice -n 19 "$program" -max_total_time="$seconds" -max_len=2048 -timeout=10 \
        -print_final_stats=1 -artifact_prefix="$work/findings/" "$work/corpus" "$seeds" \
        >"$log" 2>&1 &
    names+=("$name") pids+=($!) logs+=("$log")
done
failed=()
for i in "${!pids[@]}"; do
    status=0
    wait "${pids[$i]}" || status=$?
    sed "s/^/${names[$i]}: /" "${logs[$i]}"
    [ "$status" -eq 0 ] || failed+=("${names[$i]} (status $status)")
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "smoke_side_by_side.sh: failed: ${failed[*]}" >&2
    exit 1
fi
echo "smoke_side_by_side.sh: ${#names[@]} targets ran ${seconds} s each without a finding"
