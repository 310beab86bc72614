#!/usr/bin/env bash
# End-to-end figures for a large file, then the micro benchmarks.
# Usage: bench/run.sh BUILD_DIR   (a build configured with -DHALVERN_BENCH=ON)
#
# Compares halvern-cli renumbering the individuals of a generated 100,000-individual file with a
# plain cp of the same file (wall time, median of several runs), and its peak memory with the
# file's size. Targets: at most 3 times the time of cp, at most 3 times the file size in memory.
set -euo pipefail

build=${1:?usage: bench/run.sh BUILD_DIR}
individuals=${HALVERN_BENCH_INDIVIDUALS:-100000}
runs=${HALVERN_BENCH_RUNS:-7}

cmake --build "$build" -j2 --target halvern-cli gedcom-gen halvern-bench
bin="$build/bin"
data="$build/bench-data"
mkdir -p "$data"
input="$data/individuals-$individuals.ged"
output="$data/output.ged"
[ -f "$input" ] || "$bin/gedcom-gen" "$individuals" "$input"
size=$(stat -c %s "$input")

# Median wall time in milliseconds of running "$@" $runs times, the output file removed before
# each run so every run writes a new file.
median_ms() {
  local times=()
  for ((i = 0; i < runs; i++)); do
    rm -f "$output"
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    times+=("$(( (end - start) / 1000 ))")
  done
  printf '%s\n' "${times[@]}" | sort -n | awk -v n="$runs" 'NR == int((n + 1) / 2) { printf "%.1f", $1 / 1000 }'
}

"$bin/halvern-cli" -q -t INDI "$input" "$output" >/dev/null  # warm the page cache and check it works
cp_ms=$(median_ms cp "$input" "$output")
cli_ms=$(median_ms "$bin/halvern-cli" -q -t INDI "$input" "$output")
rm -f "$output"
peak_kb=$(/usr/bin/time -f %M "$bin/halvern-cli" -q -t INDI "$input" "$output" 2>&1 >/dev/null | tail -n 1)
rm -f "$output"

awk -v size="$size" -v n="$individuals" -v runs="$runs" -v cp="$cp_ms" -v cli="$cli_ms" -v kb="$peak_kb" 'BEGIN {
  time_ratio = cli / cp
  mem_ratio = kb * 1024 / size
  printf "\n%d individuals, %.1f MB, median of %d runs\n", n, size / 1e6, runs
  printf "%-34s %12s %8s %8s\n", "measure", "value", "ratio", "target"
  printf "%-34s %9.1f ms %8s %8s\n", "cp", cp, "", ""
  printf "%-34s %9.1f ms %7.1fx %8s\n", "halvern-cli -q -t INDI", cli, time_ratio, time_ratio <= 3 ? "met" : "NOT met"
  printf "%-34s %9.1f MB %8s %8s\n", "file size", size / 1e6, "", ""
  printf "%-34s %9.1f MB %7.2fx %8s\n", "halvern-cli peak memory (max RSS)", kb * 1024 / 1e6, mem_ratio, mem_ratio <= 3 ? "met" : "NOT met"
  printf "\n"
}'

"$bin/halvern-bench"
