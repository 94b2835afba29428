#!/usr/bin/env bash
# Makes the release of the commit checked out, into dist/:
#   lumaro-VERSION-windows-x64.zip  lumaro.exe and lumaro-cli.exe (statically linked,
#                                   stripped), README.txt (a quick start in Chinese and
#                                   English) and THIRD-PARTY-NOTICES.txt
#   lumaro_VERSION_amd64.deb        lumaro-cli and lumaro-sim, their manual pages and
#                                   lumaro-cli's bash completion
#   SHA256SUMS                      of both
# VERSION is the project's (CMakeLists.txt).
#
#   scripts/release.sh            build once
#   scripts/release.sh --verify   build twice, in two folders one after the other, and
#                                 compare every file byte for byte (exit 1 if any differs)
#
# Reproducible: the commit's files alone are built (exported into a fresh folder outside
# the working tree), without the compiler cache, with every time taken from the commit
# (SOURCE_DATE_EPOCH) and a fixed locale, zone and umask; the same commit gives the same
# bytes wherever and whenever it is built (packaging/build-release.sh). Tracked files must
# have no uncommitted changes: a release is a commit's. Installs what is missing first
# (scripts/setup.sh).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
die() { echo "release.sh: $*" >&2; exit 2; }
verify=0
case ${1:-} in
    "") ;;
    --verify) verify=1 ;;
    *) die "usage: release.sh [--verify]" ;;
esac
[ $# -le 1 ] || die "usage: release.sh [--verify]"

"$top/scripts/setup.sh"
cd "$top"
git update-index -q --refresh || true
git diff-index --quiet HEAD -- ||
    die "tracked files have uncommitted changes: a release is made from a commit, commit first"
commit=$(git rev-parse HEAD)

# Nothing of the caller's environment shapes the bytes: no compiler cache, no flags.
unset CMAKE_CXX_COMPILER_LAUNCHER CMAKE_C_COMPILER_LAUNCHER CMAKE_GENERATOR CMAKE_BUILD_TYPE \
      CFLAGS CXXFLAGS CPPFLAGS LDFLAGS DEB_BUILD_OPTIONS DEB_BUILD_MAINT_OPTIONS \
      DEB_CFLAGS_APPEND DEB_CXXFLAGS_APPEND DEB_CPPFLAGS_APPEND DEB_LDFLAGS_APPEND
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct "$commit")
export SOURCE_DATE_EPOCH LUMARO_COMMIT=$commit LC_ALL=C.UTF-8 TZ=UTC
umask 022

work=$(mktemp -d "${TMPDIR:-/tmp}/lumaro-release.XXXXXX")
keep_work=0
cleanup() { [ "$keep_work" = 1 ] || rm -rf "$work"; }
trap cleanup EXIT

# build_in FOLDER: the commit exported into FOLDER/src and built there, its files in FOLDER/out.
build_in() {
    local folder=$1
    mkdir -p "$folder/src"
    git -C "$top" archive --format=tar "$commit" | tar -x -C "$folder/src"
    "$folder/src/packaging/build-release.sh" "$folder/out"
}

# compare A B: every file of A identical in B; for a difference, a first look at where.
compare() {
    local a=$1 b=$2 file name status=0
    if [ "$(cd "$a" && echo *)" != "$(cd "$b" && echo *)" ]; then
        echo "release.sh: the two builds made different files: $(cd "$a" && echo *) / $(cd "$b" && echo *)" >&2
        return 1
    fi
    for file in "$a"/*; do
        name=$(basename "$file")
        if cmp -s "$file" "$b/$name"; then
            echo "release.sh: identical: $name ($(sha256sum <"$file" | cut -c1-16)...)"
        else
            echo "release.sh: DIFFERENT: $name" >&2
            explain_difference "$file" "$b/$name" >&2 || true
            status=1
        fi
    done
    return $status
}

explain_difference() {
    local a=$1 b=$2 x="$work/explain" entry
    rm -rf "$x"
    mkdir -p "$x/a" "$x/b"
    case $a in
        *.zip)
            diff <(unzip -Zl "$a" | tail -n +2) <(unzip -Zl "$b" | tail -n +2) || true
            unzip -q "$a" -d "$x/a" && unzip -q "$b" -d "$x/b"
            diff -r "$x/a" "$x/b" || true
            for entry in $(cd "$x/a" && find . -name '*.exe'); do
                cmp "$x/a/$entry" "$x/b/$entry" >/dev/null ||
                    diff <(x86_64-w64-mingw32-objdump -x "$x/a/$entry") \
                         <(x86_64-w64-mingw32-objdump -x "$x/b/$entry") | head -40
            done ;;
        *.deb)
            diff <(dpkg-deb -I "$a") <(dpkg-deb -I "$b") || true
            diff <(dpkg-deb -c "$a") <(dpkg-deb -c "$b") || true
            dpkg-deb -x "$a" "$x/a" && dpkg-deb -x "$b" "$x/b"
            diff -r "$x/a" "$x/b" || true ;;
        *) diff "$a" "$b" | head -20 || true ;;
    esac
    if command -v diffoscope >/dev/null; then diffoscope "$a" "$b" | head -100 || true; fi
}

if [ "$verify" = 0 ]; then
    build_in "$work/build"
    result="$work/build/out"
else
    echo "release.sh: first build, in $work/first"
    build_in "$work/first"
    # Another folder, of another depth, some time later.
    echo "release.sh: second build, in $work/second/in/a/deeper/folder"
    build_in "$work/second/in/a/deeper/folder"
    if ! compare "$work/first/out" "$work/second/in/a/deeper/folder/out"; then
        keep_work=1
        echo "release.sh: the two builds differ; both are kept in $work" >&2
        exit 1
    fi
    result="$work/first/out"
fi

rm -rf "$top/dist"
mkdir -p "$top/dist"
cp "$result"/* "$top/dist/"
echo "release.sh: the release of $commit is in $top/dist:"
(cd "$top/dist" && ls -l && cat SHA256SUMS)
