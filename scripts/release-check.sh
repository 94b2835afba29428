#!/usr/bin/env bash
# CI's check of the release, after scripts/test.sh in the same clone: makes the release once
# (scripts/release.sh) and checks what a technician gets.
#   - The zip holds exactly its four files; its lumaro.exe and lumaro-cli.exe are byte for
#     byte the ones that the Windows tests drove (build/windows); lumaro.exe is at most
#     1.5 MB. SHA256SUMS matches both files.
#   - The Debian package: lintian finds no error; apt installs it; lumaro-cli --help runs,
#     both programs answer --version, man finds both manual pages and bash the completion.
#   - The zip's lumaro.exe starts under Wine on a test LAN, with the package's lumaro-sim,
#     and shows the simulated controllers (scripts/app-e2e-test.sh).
#   - The package removes cleanly: nothing of it is left.
# Run as root (apt, and the test LAN). Refuses to run where a lumaro package is installed.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
die() { echo "release-check.sh: $*" >&2; exit 2; }
[ "$(id -u)" -eq 0 ] || die "run as root: it installs the package and makes a test LAN"
tested_exe="$top/build/windows/app/lumaro.exe"
tested_cli="$top/build/windows/cli/lumaro-cli.exe"
reader="$top/build/windows/tools/window-reader/window-reader.exe"
for file in "$tested_exe" "$tested_cli" "$reader"; do
    [ -e "$file" ] || die "missing $file: run scripts/test.sh first (the release is compared with what it tested)"
done
installed() { dpkg-query -W -f='${db:Status-Status}' lumaro 2>/dev/null | grep -q '^installed$'; }
not_installed() { ! installed; }
! installed || die "a lumaro package is installed on this machine already: remove it first"

"$top/scripts/release.sh" || die "scripts/release.sh failed"
dist="$top/dist"
version=$(cat "$top/build/windows/version.txt")
zip="$dist/lumaro-$version-windows-x64.zip"
deb="$dist/lumaro_${version}_amd64.deb"
work="$top/build/release-check"
rm -rf "$work"
mkdir -p "$work"

source "$top/scripts/lib/checks.sh"

# The zip.
folder="lumaro-$version"
check "the zip holds lumaro.exe, lumaro-cli.exe, README.txt and THIRD-PARTY-NOTICES.txt" \
    same "$(unzip -Z1 "$zip" | tr '\n' ' ')" \
         "$folder/lumaro.exe $folder/lumaro-cli.exe $folder/README.txt $folder/THIRD-PARTY-NOTICES.txt "
unzip -q "$zip" -d "$work/zip"
check "the zip's lumaro.exe is the one the Windows tests drove" cmp "$work/zip/$folder/lumaro.exe" "$tested_exe"
check "the zip's lumaro-cli.exe is the one the Windows tests ran" \
    cmp "$work/zip/$folder/lumaro-cli.exe" "$tested_cli"
size=$(stat -c %s "$work/zip/$folder/lumaro.exe")
check "lumaro.exe is at most 1.5 MB ($size bytes)" test "$size" -le 1500000
check "the zip's programs carry no symbols" \
    bash -c '! x86_64-w64-mingw32-objdump -t "$1" "$2" | grep -q "^\[ *[0-9]"' _ \
    "$work/zip/$folder/lumaro.exe" "$work/zip/$folder/lumaro-cli.exe"
check "the quick start names the version and the doctor" \
    bash -c 'grep -q "Lumaro $2" "$1" && grep -q "lumaro-cli.exe doctor" "$1"' _ "$work/zip/$folder/README.txt" "$version"
check "SHA256SUMS matches the zip and the package" \
    bash -c 'cd "$1" && sha256sum --quiet -c SHA256SUMS && test "$(wc -l <SHA256SUMS)" -eq 2' _ "$dist"

# The package.
lintian --fail-on error --tag-display-limit 0 "$deb" >"$work/lintian.txt" 2>&1
check "lintian finds no error in the package" test $? -eq 0
sed 's/^/    /' "$work/lintian.txt"
package_files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }')
purge() { DEBIAN_FRONTEND=noninteractive apt-get purge -y -q lumaro >"$work/purge.txt" 2>&1; }
trap 'installed && purge' EXIT
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$deb" >"$work/install.txt" 2>&1
check "apt installs the package" installed
help=$(/usr/bin/lumaro-cli --help)
status=$?
check "lumaro-cli --help runs (exit $status)" \
    bash -c '[ "$1" -eq 0 ] && grep -q "^Usage: lumaro-cli" <<<"$2"' _ "$status" "$help"
for program in lumaro-cli lumaro-sim; do
    check "$program --version gives $version" same "$("/usr/bin/$program" --version)" "$program $version"
    check "man finds the manual page of $program" \
        same "$(man -w "$program")" "/usr/share/man/man1/$program.1.gz"
done
check "bash completes lumaro-cli's commands" bash -c '
    source /usr/share/bash-completion/completions/lumaro-cli
    COMP_WORDS=(lumaro-cli do); COMP_CWORD=1; _lumaro_cli; [ "${COMPREPLY[*]}" = doctor ]'

# The zip's program under Wine, beside the package's simulator.
"$top/scripts/app-e2e-test.sh" --exe "$work/zip/$folder/lumaro.exe" --reader "$reader" \
    --sim /usr/bin/lumaro-sim --artifacts "$work/end-to-end" >"$work/end-to-end.txt" 2>&1
check "the zip's lumaro.exe starts under Wine on a test LAN and shows its list" test $? -eq 0
sed 's/^/    /' "$work/end-to-end.txt"

purge
check "apt removes the package" not_installed
left=$(for file in $package_files; do [ ! -e "$file" ] || echo "$file"; done)
check "nothing of the package is left" same "$left" ""

checks_end release-check.sh
