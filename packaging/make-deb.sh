#!/usr/bin/env bash
# Makes the Debian package of the console from a native build: lumaro-cli and lumaro-sim in
# /usr/bin (stripped), their manual pages, lumaro-cli's bash completion, the copyright file
# and a changelog; Depends from dpkg-shlibdeps, the control file from dpkg-gencontrol.
#
#   make-deb.sh BUILD-DIR OUTPUT.deb
#
# BUILD-DIR has lumaro-cli, lumaro-sim and lumaro_console_docs built. Every time in the
# package is SOURCE_DATE_EPOCH (required), and nothing else of the machine or the moment
# reaches its bytes: owners root, fixed permissions, sorted entries, one compression thread.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
die() { echo "make-deb.sh: $*" >&2; exit 2; }
[ $# -eq 2 ] || die "usage: make-deb.sh BUILD-DIR OUTPUT.deb"
build=$(cd "$1" && pwd)
output=$2
epoch=${SOURCE_DATE_EPOCH:?make-deb.sh needs SOURCE_DATE_EPOCH}
version=$(cat "$build/version.txt")
commit=${LUMARO_COMMIT:-unknown}

# Laid out as debhelper lays out a package: its files in debian/lumaro.
work="$build/package"
root="$work/debian/lumaro"
doc="$root/usr/share/doc/lumaro"
rm -rf "$work"
mkdir -p "$root/DEBIAN" "$doc"
DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null

# As Debian's own packages are stripped (dh_strip), the symbols and the compiler's notes go.
strip --remove-section=.comment --remove-section=.note "$root/usr/bin/lumaro-cli" "$root/usr/bin/lumaro-sim"
gzip -9n "$root"/usr/share/man/man1/*.1
{
    cat "$here/debian/copyright-head"
    echo
    cat "$here/notices/cli11.txt"
    echo
    cat "$here/notices/nlohmann-json.txt"
} >"$doc/copyright"

maintainer=$(sed -n 's/^Maintainer: //p' "$here/debian/control")
cp "$here/debian/control" "$work/debian/control"
cat >"$work/debian/changelog" <<CHANGELOG
lumaro ($version) unstable; urgency=medium

  * Release $version, built from commit
    $commit.

 -- $maintainer  $(date -u -R -d "@$epoch")
CHANGELOG
gzip -9n <"$work/debian/changelog" >"$doc/changelog.gz"

find "$root" -type d -exec chmod 0755 {} +
find "$root" -type f -exec chmod 0644 {} +
chmod 0755 "$root/usr/bin/lumaro-cli" "$root/usr/bin/lumaro-sim"
(
    cd "$work"
    dpkg-shlibdeps -Tdebian/substvars debian/lumaro/usr/bin/lumaro-cli debian/lumaro/usr/bin/lumaro-sim
    dpkg-gencontrol -plumaro -Pdebian/lumaro -Tdebian/substvars
    cd debian/lumaro
    find usr -type f -print0 | LC_ALL=C sort -z | xargs -0 md5sum >DEBIAN/md5sums
)
chmod 0644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"
find "$root" -exec touch --no-dereference --date="@$epoch" {} +
dpkg-deb --root-owner-group --threads-max=1 -Zxz --build "$root" "$output" >/dev/null
