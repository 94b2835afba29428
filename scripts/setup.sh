#!/usr/bin/env bash
# Installs what Lumaro needs to build and test on Debian 12. Idempotent: installs only
# what is missing.
set -euo pipefail
packages=(cmake ninja-build g++ libgtest-dev googletest iproute2 procps
          g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64
          xvfb xdotool imagemagick fonts-wqy-microhei
          libcli11-dev nlohmann-json3-dev python3
          clang-14 libclang-rt-14-dev llvm-14
          help2man man-db dpkg-dev lintian unzip)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=""
    [ "$(id -u)" -eq 0 ] || sudo_cmd=sudo
    $sudo_cmd apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
