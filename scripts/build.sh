#!/usr/bin/env bash
# Builds Lumaro: the native Linux build (build/linux), the same with AddressSanitizer and
# UndefinedBehaviorSanitizer for the tests (build/linux-asan) and the Windows build
# cross-compiled with MinGW-w64 (build/windows); on request the link's libFuzzer targets,
# built with clang (build/fuzz), and the threaded code with the tests of its thread
# handoffs under ThreadSanitizer (build/linux-tsan). Prints how long each build took.
#   scripts/build.sh [linux] [linux-asan] [windows] [fuzz] [linux-tsan]   (default: the first three)
# A build may name the targets to make, e.g. windows:lumaro,window-reader (default: all).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
# The test programs share precompiled headers: a compiler cache takes their sources only
# when it need not look into the macros and times inside them.
export CCACHE_SLOPPINESS="${CCACHE_SLOPPINESS:+$CCACHE_SLOPPINESS,}pch_defines,time_macros"
builds=("$@")
[ ${#builds[@]} -gt 0 ] || builds=(linux linux-asan windows)
for build in "${builds[@]}"; do
    tree=${build%%:*}
    make=()
    if [ "$build" != "$tree" ]; then
        IFS=, read -ra names <<<"${build#*:}"
        make=(--target "${names[@]}")
    fi
    case $tree in
        linux) args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
        linux-asan) args=(-DCMAKE_BUILD_TYPE=Debug -DLUMARO_SANITIZE=ON) ;;
        windows) args=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64.cmake") ;;
        linux-tsan) args=(-DCMAKE_BUILD_TYPE=Debug -DLUMARO_THREAD_SANITIZER=ON) ;;
        fuzz) args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMARO_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++-14) ;;
        *) echo "build.sh: unknown build $tree" >&2; exit 2 ;;
    esac
    start=$SECONDS
    cmake -S "$top" -B "$top/build/$tree" -G Ninja "${args[@]}" >/dev/null
    cmake --build "$top/build/$tree" -j "$jobs" "${make[@]}"
    echo "build.sh: $build built in $((SECONDS - start)) s"
done
