#!/usr/bin/env bash
# Every test: installs what is missing, builds, then runs the Linux tests (under
# AddressSanitizer and UndefinedBehaviorSanitizer), the Windows tests (under Wine) and a
# short run of each fuzz target.
# Tests that open sockets run in test LANs of their own (network namespaces): run as root.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
"$top/scripts/build.sh" linux-asan windows fuzz
status=0
(cd "$top/build/linux-asan" && ctest --output-on-failure -j 2) || status=1
(cd "$top/build/windows" && ctest --output-on-failure -j 2) || status=1
(cd "$top/build/fuzz" && ctest --output-on-failure -j 2) || status=1
exit $status
