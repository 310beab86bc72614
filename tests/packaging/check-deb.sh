#!/usr/bin/env bash
# Makes the Debian package from this native build tree into a fresh folder, looks into it, unpacks
# it into a scratch root, runs what was unpacked, and lets lintian judge it.
# Usage: check-deb.sh SOURCE_DIR NATIVE_BUILD_DIR VERSION
set -euo pipefail
source_dir=$1
build=$2
version=$3
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

deb=$(bash "$source_dir/scripts/make-deb.sh" "$build" "$out")
name="halvern-cli_${version}_$(dpkg --print-architecture).deb"
[ "$(basename "$deb")" = "$name" ] || fail "package named $(basename "$deb")"
[ "$(dpkg-deb --field "$deb" Package)" = "halvern-cli" ] || fail "Package: $(dpkg-deb --field "$deb" Package)"
[ "$(dpkg-deb --field "$deb" Version)" = "$version" ] || fail "Version: $(dpkg-deb --field "$deb" Version)"

# Exactly these files (directories aside).
files=$(dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort | tr '\n' ' ')
expected="./usr/bin/halvern-cli ./usr/share/doc/halvern-cli/changelog.gz ./usr/share/doc/halvern-cli/copyright "
expected+="./usr/share/lintian/overrides/halvern-cli ./usr/share/man/man1/halvern-cli.1.gz "
[ "$files" = "$expected" ] || fail "package holds: $files"

root="$out/root"
dpkg -x "$deb" "$root"
program="$root/usr/bin/halvern-cli"
[ "$("$program" --version)" = "halvern-cli $version" ] || fail "--version gave '$("$program" --version)'"
# The unpacked (stripped) program renumbers exactly as the built one does.
"$program" -q -t INDI "$source_dir/examples/voorbeeld.ged" "$out/unpacked.ged" || fail "run failed ($?)"
"$build/bin/halvern-cli" -q -t INDI "$source_dir/examples/voorbeeld.ged" "$out/built.ged"
cmp -s "$out/unpacked.ged" "$out/built.ged" || fail "the unpacked program renumbers differently"

manual="$root/usr/share/man/man1/halvern-cli.1.gz"
gzip -t "$manual" 2>/dev/null || fail "the manual page is not gzipped"
man -l "$manual" 2>/dev/null | grep -q AFSLUITSTATUS || fail "man -l cannot show the manual page"

report=$(lintian --fail-on error,warning "$deb" 2>&1) || fail "lintian found errors or warnings"
[ -z "$report" ] || echo "$report"

[ "$failures" -eq 0 ] && echo "$name: as it should be"
exit "$failures"
