#!/usr/bin/env bash
# Builds Lumaro: the native Linux build (build/linux), the same with AddressSanitizer and
# UndefinedBehaviorSanitizer for the tests (build/linux-asan) and the Windows build
# cross-compiled with MinGW-w64 (build/windows); on request the link's libFuzzer targets,
# built with clang (build/fuzz).
#   scripts/build.sh [linux] [linux-asan] [windows] [fuzz]   (default: the first three)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(linux linux-asan windows)
for target in "${targets[@]}"; do
    case $target in
        linux) args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
        linux-asan) args=(-DCMAKE_BUILD_TYPE=Debug -DLUMARO_SANITIZE=ON) ;;
        windows) args=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64.cmake") ;;
        linux-tsan) args=(-DCMAKE_BUILD_TYPE=Debug -DLUMARO_THREAD_SANITIZER=ON) ;;
        fuzz) args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMARO_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++-14) ;;
        *) echo "build.sh: unknown build $target" >&2; exit 2 ;;
    esac
    cmake -S "$top" -B "$top/build/$target" -G Ninja "${args[@]}" >/dev/null
    cmake --build "$top/build/$target" -j "$jobs"
done
