#!/usr/bin/env bash
# End-to-end figures for a large file, then the micro benchmarks.
# Usage: bench/run.sh BUILD_DIR   (a build configured with -DHALVERN_BENCH=ON)
#
# Compares halvern-cli renumbering the individuals of a generated 100,000-individual file with a
# plain cp of the same file (wall time, median of several runs, the two taking turns), and its
# peak memory with the file's size, and every record type (--all) with the individuals alone.
# Targets: at most 3 times the time of cp, at most 3 times the file size in memory, --all at most
# twice the time of -t INDI.
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
"$bin/halvern-cli" -q -t INDI "$input" "$output" >/dev/null  # warm the page cache and check it works
cp "$input" "$output"
cp_times=()
cli_times=()
all_times=()
for ((i = 0; i < runs; i++)); do
  cp_times+=("$(wall_us cp "$input" "$output")")
  cli_times+=("$(wall_us "$bin/halvern-cli" -q -t INDI "$input" "$output")")
  all_times+=("$(wall_us "$bin/halvern-cli" -q --all "$input" "$output")")
done
cp_ms=$(printf '%s\n' "${cp_times[@]}" | median_ms)
cli_ms=$(printf '%s\n' "${cli_times[@]}" | median_ms)
all_ms=$(printf '%s\n' "${all_times[@]}" | median_ms)
rm -f "$output"
peak_kb=$(/usr/bin/time -f %M "$bin/halvern-cli" -q -t INDI "$input" "$output" 2>&1 >/dev/null | tail -n 1)
rm -f "$output"

awk -v size="$size" -v n="$individuals" -v runs="$runs" -v cp="$cp_ms" -v cli="$cli_ms" -v all="$all_ms" \
    -v kb="$peak_kb" 'BEGIN {
  time_ratio = cli / cp
  all_ratio = all / cli
  mem_ratio = kb * 1024 / size
  printf "\n%d individuals, %.1f MB, median of %d runs each, cp, -t INDI and --all taking turns\n", n, size / 1e6, runs
  printf "%-34s %12s %8s %8s\n", "measure", "value", "ratio", "target"
  printf "%-34s %9.1f ms %8s %8s\n", "cp", cp, "", ""
  printf "%-34s %9.1f ms %7.2fx %8s\n", "halvern-cli -q -t INDI", cli, time_ratio, time_ratio <= 3 ? "met" : "NOT met"
  printf "%-34s %9.1f ms %7.2fx %8s\n", "halvern-cli -q --all (x -t INDI)", all, all_ratio, all_ratio <= 2 ? "met" : "NOT met"
  printf "%-34s %9.1f MB %8s %8s\n", "file size", size / 1e6, "", ""
  printf "%-34s %9.1f MB %7.2fx %8s\n", "halvern-cli peak memory (max RSS)", kb * 1024 / 1e6, mem_ratio, mem_ratio <= 3 ? "met" : "NOT met"
  printf "\n"
}'

"$bin/halvern-bench"
