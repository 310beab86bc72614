#!/usr/bin/env bash
# Makes the Debian package of halvern-cli from a native build tree:
# OUT_DIR/halvern-cli_<version>_<arch>.deb with the program, its manual page (gzipped), the
# copyright file, a changelog and the lintian overrides. Prints the name of the package.
# Usage: scripts/make-deb.sh NATIVE_BUILD_DIR OUT_DIR
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 NATIVE_BUILD_DIR OUT_DIR" >&2; exit 2; }
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
umask 022

# CMake writes the control file with the project's version when it configures the tree.
control="$build/deb/control"
[ -s "$control" ] || { echo "$0: $control is missing; configure the native tree first" >&2; exit 1; }
[ -x "$build/bin/halvern-cli" ] || { echo "$0: $build/bin/halvern-cli is missing; build it first" >&2; exit 1; }
version=$(sed -n 's/^Version: //p' "$control")
arch=$(dpkg --print-architecture)
deb="$out/halvern-cli_${version}_${arch}.deb"

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
root="$stage/root"

# What goes in is what the install rules install, under /usr; the program stripped as Debian's
# own tools strip programs.
cmake --install "$build" --prefix "$root/usr" >/dev/null
strip --remove-section=.comment --remove-section=.note "$root/usr/bin/halvern-cli"
gzip -9n "$root/usr/share/man/man1/halvern-cli.1"
doc="$root/usr/share/doc/halvern-cli"
install -d "$doc" "$root/usr/share/lintian/overrides" "$root/DEBIAN"
install -m 644 "$source_dir/packaging/deb/copyright" "$doc/copyright"
install -m 644 "$source_dir/packaging/deb/lintian-overrides" "$root/usr/share/lintian/overrides/halvern-cli"

# The files carry the time of the last commit, so the same sources give the same package.
epoch=$(git -C "$source_dir" log -1 --format=%ct 2>/dev/null || date +%s)
export SOURCE_DATE_EPOCH=$epoch
# A native package's changelog: one entry, for this version.
{
  printf 'halvern-cli (%s) unstable; urgency=medium\n\n' "$version"
  printf '  * Halvern %s.\n\n' "$version"
  printf ' -- Zandrix <info@zandrix.example>  %s\n' "$(date -R -u -d "@$epoch")"
} | gzip -9n > "$doc/changelog.gz"

size=$(du -sk --apparent-size "$root/usr" | cut -f1)
sed "s/^Version: .*/&\nArchitecture: $arch\nInstalled-Size: $size/" "$control" > "$root/DEBIAN/control"
(cd "$root" && find usr -type f -print0 | LC_ALL=C sort -z | xargs -0 md5sum) > "$root/DEBIAN/md5sums"
chmod 644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"
find "$root" -exec touch -h -d "@$epoch" {} +

rm -f "$deb"
dpkg-deb --root-owner-group --build "$root" "$deb" >/dev/null
echo "$deb"
