#!/usr/bin/env bash
# Makes the Windows download: OUT_DIR/Halvern-<version>-win64.zip with Halvern.exe, Halvern.chm,
# halvern-cli.exe and LEESMIJ.txt (CRLF line ends), all at the top of the zip.
# Usage: scripts/make-dist.sh WINDOWS_BUILD_DIR OUT_DIR
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 WINDOWS_BUILD_DIR OUT_DIR" >&2; exit 2; }
source_dir=$(cd "$(dirname "$0")/.." && pwd)
bin=$(cd "$1" && pwd)/bin
mkdir -p "$2"
out=$(cd "$2" && pwd)

# The version as the build made it from CMakeLists.txt.
version_header=$(cd "$1" && pwd)/generated/base/ProgramVersion.h
version=$(sed -n 's/^#define HALVERN_VERSION_TEXT "\(.*\)"$/\1/p' "$version_header" 2>/dev/null || true)
[ -n "$version" ] || { echo "$0: no version in $version_header; configure the Windows tree first" >&2; exit 1; }
zip_file="$out/Halvern-$version-win64.zip"

for file in Halvern.exe Halvern.chm halvern-cli.exe; do
  [ -s "$bin/$file" ] || { echo "$0: $bin/$file is missing; build the Windows tree first" >&2; exit 1; }
done

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$bin/Halvern.exe" "$bin/Halvern.chm" "$bin/halvern-cli.exe" "$stage/"
# Notepad on older Windows shows a file with bare LF line ends as one long line.
sed 's/\r$//; s/$/\r/' "$source_dir/packaging/LEESMIJ.txt" > "$stage/LEESMIJ.txt"
# The files carry the time of the last commit, so the same sources give the same zip.
stamp=$(git -C "$source_dir" log -1 --format=%cd --date=format:%Y%m%d%H%M.%S 2>/dev/null || true)
[ -n "$stamp" ] && touch -t "$stamp" "$stage"/*

rm -f "$zip_file"
(cd "$stage" && zip -q -X -9 "$zip_file" Halvern.exe Halvern.chm halvern-cli.exe LEESMIJ.txt)
echo "$zip_file"
