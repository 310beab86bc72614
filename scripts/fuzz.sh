#!/usr/bin/env bash
# Builds the libFuzzer targets (clang++, AddressSanitizer, UndefinedBehaviorSanitizer) and runs each
# one from the seed corpus in fuzz/corpus. Any crash, sanitizer report or broken invariant fails
# the script; the input that caused it is kept in BUILD_DIR/findings.
# Usage: scripts/fuzz.sh BUILD_DIR --runs N       a fixed number of inputs per target (for tests)
#        scripts/fuzz.sh BUILD_DIR --seconds S    S seconds per target (for a real search), on JOBS
#                                                 processors at once (libFuzzer's fork mode)
set -euo pipefail

build=$1
mode=$2
amount=$3
source=$(cd "$(dirname "$0")/.." && pwd)

jobs=${JOBS:-2}
case $mode in
  --runs) limit=(-runs="$amount") ;;
  --seconds) limit=(-max_total_time="$amount"); if [ "$jobs" -gt 1 ]; then limit+=(-fork="$jobs"); fi ;;
  *) echo "usage: $0 BUILD_DIR (--runs N | --seconds S)" >&2; exit 2 ;;
esac

cmake -S "$source/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j "$jobs"

# target, longest input, dictionary; the heavy ones first
targets=(
  "renumber 4096 gedcom.dict"
  "joint_runs 4096 gedcom.dict"
  "utf16 4096 gedcom.dict"
  "quicksearch 2048 gedcom.dict"
  "startnumber 64 startnumber.dict"
  "cli_arguments 512 cli.dict"
)

# An allocation's stack is kept two calls deep in a report (the input is kept and can be run again
# for the whole stack): recording it whole took a tenth of the time of every input.
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=2}

mkdir -p "$build/findings"
failed=()
for entry in "${targets[@]}"; do
  read -r name maxLength dictionary <<<"$entry"
  # New inputs go to a working corpus in the build tree; the seeds in the repository stay as they are.
  work="$build/corpus/$name"
  mkdir -p "$work"
  echo "== fuzz_$name (${mode#--} $amount)"
  if ! "$build/bin/fuzz_$name" "${limit[@]}" -max_len="$maxLength" -timeout=20 -rss_limit_mb=2048 \
      -dict="$source/fuzz/$dictionary" -artifact_prefix="$build/findings/$name-" -print_final_stats=1 \
      "$work" "$source/fuzz/corpus/$name" >"$build/fuzz_$name.log" 2>&1; then
    failed+=("$name")
    tail -n 40 "$build/fuzz_$name.log"
  else
    # One process counts its inputs at the end; in fork mode the last progress line has the sum.
    grep -E '^(Done|stat::number_of_executed_units)' "$build/fuzz_$name.log" ||
      grep -E '^#[0-9]+:' "$build/fuzz_$name.log" | tail -n 1 | sed -E 's/^#([0-9]+):.*/inputs: \1/' || true
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "Fuzzing found faults in: ${failed[*]} (inputs in $build/findings)" >&2
  exit 1
fi
echo "Fuzzing: no findings."
