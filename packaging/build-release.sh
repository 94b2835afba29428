#!/usr/bin/env bash
# Builds the release from the tree this script is in, into OUTPUT-DIR: the Windows zip, the
# Debian package of the console and SHA256SUMS of both. scripts/release.sh runs it in a
# fresh export of a commit, with SOURCE_DATE_EPOCH set to the commit's time.
#
#   build-release.sh OUTPUT-DIR
#
# The Windows programs are built exactly as scripts/build.sh builds the tested ones
# (build/windows), so that their bytes are the same; the package's with Debian's flags.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
die() { echo "build-release.sh: $*" >&2; exit 2; }
[ $# -eq 1 ] || die "usage: build-release.sh OUTPUT-DIR"
mkdir -p "$1"
out=$(cd "$1" && pwd)
epoch=${SOURCE_DATE_EPOCH:?build-release.sh needs SOURCE_DATE_EPOCH}
jobs=$(nproc)
cd "$src"

echo "build-release.sh: the Windows programs (build/windows)"
cmake -S "$src" -B "$src/build/windows" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64.cmake" >/dev/null
cmake --build "$src/build/windows" -j "$jobs" --target lumaro lumaro-cli
version=$(cat "$src/build/windows/version.txt")

echo "build-release.sh: the console's package (build/deb)"
# Debian's flags for a package: optimised, hardened, the source folder mapped to '.'.
flags() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"; }
cmake -S "$src" -B "$src/build/deb" -G Ninja -DCMAKE_BUILD_TYPE=None \
    -DCMAKE_CXX_FLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)" >/dev/null
cmake --build "$src/build/deb" -j "$jobs" --target lumaro-cli lumaro-sim lumaro_console_docs
deb="lumaro_${version}_$(dpkg-architecture -qDEB_HOST_ARCH).deb"
"$src/packaging/make-deb.sh" "$src/build/deb" "$out/$deb"

echo "build-release.sh: the Windows zip"
folder="lumaro-$version"
files="$src/build/zip"
rm -rf "$files"
mkdir -p "$files"
# Text files as Windows' Notepad reads them on any version: CR LF, UTF-8 with its mark.
windows_text() { printf '\xEF\xBB\xBF'; sed 's/$/\r/'; }
sed "s/@VERSION@/$version/" "$src/packaging/quick-start.txt" | windows_text >"$files/README.txt"
{
    echo "lumaro.exe and lumaro-cli.exe carry code of the following libraries."
    echo
    cat "$src/packaging/notices/mingw-w64.txt"
    echo
    echo "lumaro-cli.exe also carries:"
    echo
    cat "$src/packaging/notices/cli11.txt"
    echo
    cat "$src/packaging/notices/nlohmann-json.txt"
} | windows_text >"$files/THIRD-PARTY-NOTICES.txt"
zip="lumaro-$version-windows-x64.zip"
rm -f "$out/$zip"
"$src/packaging/make_zip.py" "$out/$zip" "$epoch" \
    "$folder/lumaro.exe=$src/build/windows/app/lumaro.exe" \
    "$folder/lumaro-cli.exe=$src/build/windows/cli/lumaro-cli.exe" \
    "$folder/README.txt=$files/README.txt" \
    "$folder/THIRD-PARTY-NOTICES.txt=$files/THIRD-PARTY-NOTICES.txt"

(cd "$out" && sha256sum "$zip" "$deb" >SHA256SUMS)
echo "build-release.sh: made $zip, $deb and SHA256SUMS in $out"
