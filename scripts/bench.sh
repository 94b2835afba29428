#!/usr/bin/env bash
# The search benchmark on 1 and 2 PC interfaces, each on a test LAN of its own.
#   scripts/bench.sh [BUILD_DIR] [CONTROLLERS] [RUNS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build/linux}
controllers=${2:-10}
runs=${3:-5}
"$here/lab.sh" run bench1+ --pc 0:10.0.1.1/24 -- "$build/bench/search_bench" "$controllers" "$runs"
"$here/lab.sh" run bench2+ --pc 0:10.0.1.1/24 --pc 0:10.0.2.1/24 -- \
    "$build/bench/search_bench" "$controllers" "$runs"
