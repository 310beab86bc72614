#!/usr/bin/env bash
# End-to-end figures for a large file, then the micro benchmarks.
# Usage: bench/run.sh BUILD_DIR   (a build configured with -DHALVERN_BENCH=ON)
#
# Compares halvern-cli renumbering the individuals of a generated 100,000-individual file with a
# plain cp of the same file (wall time, median of several runs, the two taking turns), and its
# peak memory with the file's size, and every record type (--all) with the individuals alone.
# Targets: at most 3 times the time of cp, at most 3 times the file size in memory, --all at most
# twice the time of -t INDI; --keep with a full list at most 1.5 times -t INDI (also on a file whose
# every record ends with a _UID line), --order name at most twice.
# With HALVERN_BENCH_BEFORE=FILE (an earlier build's halvern-cli) its -t INDI and --all take turns
# with the rest too, so that a change is measured before and after on the same machine in one run.
set -euo pipefail

build=${1:?usage: bench/run.sh BUILD_DIR}
individuals=${HALVERN_BENCH_INDIVIDUALS:-100000}
runs=${HALVERN_BENCH_RUNS:-9}

cmake --build "$build" -j2 --target halvern-cli gedcom-gen halvern-bench
bin="$build/bin"
data="$build/bench-data"
mkdir -p "$data"
input="$data/individuals-$individuals.ged"
output="$data/output.ged"
[ -f "$input" ] || "$bin/gedcom-gen" "$individuals" "$input"
size=$(stat -c %s "$input")

# Wall time in microseconds of running "$@" once, the output file removed first so every run
# writes a new file.
wall_us() {
  rm -f "$output"
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null
  end=$(date +%s%N)
  echo $(( (end - start) / 1000 ))
}

# The median of the numbers on standard input, in milliseconds.
median_ms() {
  sort -n | awk -v n="$runs" 'NR == int((n + 1) / 2) { printf "%.1f", $1 / 1000 }'
}

# cp and halvern-cli take turns, so that both meet the machine in the same state: on a shared or
# virtual machine the speed of everything drifts over seconds, and timing all of one before all of
# the other would give that drift to one of them.
# The same file with a "1 _UID" line as the last line of every record, where each record is read
# to its end; and for both the full list of the individuals, as -m writes it, for --keep.
uids="$data/individuals-$individuals-uid.ged"
[ -f "$uids" ] || awk '/^0 / && seen { printf "1 _UID %032X\n", ++n } /^0 @/ { seen = 1 } { print }' "$input" >"$uids"
"$bin/halvern-cli" -q -t INDI -m "$data/list.tsv" "$input" "$output"
"$bin/halvern-cli" -q -t INDI -m "$data/list-uid.tsv" "$uids" "$output"

"$bin/halvern-cli" -q -t INDI "$input" "$output" >/dev/null  # warm the page cache and check it works
cp "$input" "$output"
cp_times=()
cli_times=()
all_times=()
keep_times=()
name_times=()
uid_times=()
uid_keep_times=()
before_times=()
before_all_times=()
before=${HALVERN_BENCH_BEFORE:-}
for ((i = 0; i < runs; i++)); do
  cp_times+=("$(wall_us cp "$input" "$output")")
  cli_times+=("$(wall_us "$bin/halvern-cli" -q -t INDI "$input" "$output")")
  all_times+=("$(wall_us "$bin/halvern-cli" -q --all "$input" "$output")")
  keep_times+=("$(wall_us "$bin/halvern-cli" -q -t INDI -k "$data/list.tsv" "$input" "$output")")
  name_times+=("$(wall_us "$bin/halvern-cli" -q -t INDI --order name "$input" "$output")")
  uid_times+=("$(wall_us "$bin/halvern-cli" -q -t INDI "$uids" "$output")")
  uid_keep_times+=("$(wall_us "$bin/halvern-cli" -q -t INDI -k "$data/list-uid.tsv" "$uids" "$output")")
  if [ -n "$before" ]; then
    before_times+=("$(wall_us "$before" -q -t INDI "$input" "$output")")
    before_all_times+=("$(wall_us "$before" -q --all "$input" "$output")")
  fi
done
before_ms=0
before_all_ms=0
if [ -n "$before" ]; then
  before_ms=$(printf '%s\n' "${before_times[@]}" | median_ms)
  before_all_ms=$(printf '%s\n' "${before_all_times[@]}" | median_ms)
fi
cp_ms=$(printf '%s\n' "${cp_times[@]}" | median_ms)
cli_ms=$(printf '%s\n' "${cli_times[@]}" | median_ms)
all_ms=$(printf '%s\n' "${all_times[@]}" | median_ms)
keep_ms=$(printf '%s\n' "${keep_times[@]}" | median_ms)
name_ms=$(printf '%s\n' "${name_times[@]}" | median_ms)
uid_ms=$(printf '%s\n' "${uid_times[@]}" | median_ms)
uid_keep_ms=$(printf '%s\n' "${uid_keep_times[@]}" | median_ms)
rm -f "$output"
peak_kb=$(/usr/bin/time -f %M "$bin/halvern-cli" -q -t INDI "$input" "$output" 2>&1 >/dev/null | tail -n 1)
rm -f "$output"

awk -v size="$size" -v n="$individuals" -v runs="$runs" -v cp="$cp_ms" -v cli="$cli_ms" -v all="$all_ms" \
    -v kb="$peak_kb" -v keep="$keep_ms" -v name="$name_ms" -v uid="$uid_ms" -v uidkeep="$uid_keep_ms" \
    -v before="$before_ms" -v beforeall="$before_all_ms" 'BEGIN {
  time_ratio = cli / cp
  all_ratio = all / cli
  mem_ratio = kb * 1024 / size
  printf "\n%d individuals, %.1f MB, median of %d runs each, all taking turns\n", n, size / 1e6, runs
  printf "%-34s %12s %8s %8s\n", "measure", "value", "ratio", "target"
  printf "%-34s %9.1f ms %8s %8s\n", "cp", cp, "", ""
  printf "%-34s %9.1f ms %7.2fx %8s\n", "halvern-cli -q -t INDI", cli, time_ratio, time_ratio <= 3 ? "met" : "NOT met"
  printf "%-34s %9.1f ms %7.2fx %8s\n", "halvern-cli -q --all (x -t INDI)", all, all_ratio, all_ratio <= 2 ? "met" : "NOT met"
  printf "%-34s %9.1f ms %7.2fx %8s\n", "-t INDI -k full list (x -t INDI)", keep, keep / cli, keep / cli <= 1.5 ? "met" : "NOT met"
  printf "%-34s %9.1f ms %7.2fx %8s\n", "-t INDI --order name (x -t INDI)", name, name / cli, name / cli <= 2 ? "met" : "NOT met"
  printf "%-34s %9.1f ms %8s %8s\n", "_UID in every record: -t INDI", uid, "", ""
  printf "%-34s %9.1f ms %7.2fx %8s\n", "  -k full list (x its -t INDI)", uidkeep, uidkeep / uid, uidkeep / uid <= 1.5 ? "met" : "NOT met"
  if (before > 0) {
    printf "%-34s %9.1f ms %7.2fx %8s\n", "earlier build: -t INDI (now x it)", before, cli / before, ""
    printf "%-34s %9.1f ms %7.2fx %8s\n", "earlier build: --all (now x it)", beforeall, all / beforeall, ""
  }
  printf "%-34s %9.1f MB %8s %8s\n", "file size", size / 1e6, "", ""
  printf "%-34s %9.1f MB %7.2fx %8s\n", "halvern-cli peak memory (max RSS)", kb * 1024 / 1e6, mem_ratio, mem_ratio <= 3 ? "met" : "NOT met"
  printf "\n"
}'

"$bin/halvern-bench"
