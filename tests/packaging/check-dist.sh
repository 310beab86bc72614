#!/usr/bin/env bash
# Makes the Windows download from this build tree into a fresh folder and checks what is in it.
# Usage: check-dist.sh SOURCE_DIR WINDOWS_BUILD_DIR VERSION
set -euo pipefail
source_dir=$1
build=$2
version=$3
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

zip_file=$(bash "$source_dir/scripts/make-dist.sh" "$build" "$out")
[ "$(basename "$zip_file")" = "Halvern-$version-win64.zip" ] || fail "zip named $(basename "$zip_file")"

# Exactly these four files, at the top of the zip.
names=$(unzip -Z1 "$zip_file" | sort | tr '\n' ' ')
[ "$names" = "Halvern.chm Halvern.exe LEESMIJ.txt halvern-cli.exe " ] || fail "zip holds: $names"

mkdir "$out/x"
unzip -q "$zip_file" -d "$out/x"
for file in Halvern.exe Halvern.chm halvern-cli.exe LEESMIJ.txt; do
  [ -s "$out/x/$file" ] || fail "$file is empty"
done

# A program file: "MZ", and at the offset stored at 0x3C the PE signature of a 64-bit image.
is_pe64() {
  local file=$1 offset
  [ "$(head -c 2 "$file")" = "MZ" ] || return 1
  offset=$(od -An -tu4 -j 60 -N 4 "$file" | tr -d ' ')
  [ "$(od -An -tx1 -j "$offset" -N 6 "$file" | tr -d ' ')" = "504500006486" ]  # "PE\0\0", AMD64
}
for exe in Halvern.exe halvern-cli.exe; do
  is_pe64 "$out/x/$exe" || fail "$exe is not a 64-bit Windows program"
done
[ "$(head -c 4 "$out/x/Halvern.chm")" = "ITSF" ] || fail "Halvern.chm is not a compiled help file"

# LEESMIJ.txt: CRLF at every line end, no bare LF, plain ASCII, and the unblocking advice.
readme="$out/x/LEESMIJ.txt"
lines=$(grep -c '' "$readme")
crlf=$(grep -c $'\r$' "$readme" || true)
[ "$lines" = "$crlf" ] || fail "LEESMIJ.txt: $crlf of $lines lines end in CRLF"
LC_ALL=C grep -q '[^[:print:][:space:]]' "$readme" && fail "LEESMIJ.txt holds bytes outside ASCII"
for word in Deblokkeren Eigenschappen "Installeren is niet nodig" Halvern.chm halvern-cli.exe; do
  grep -q "$word" "$readme" || fail "LEESMIJ.txt does not mention '$word'"
done

[ "$failures" -eq 0 ] && echo "Halvern-$version-win64.zip: 4 files, all as they should be"
exit "$failures"
