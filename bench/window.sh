#!/usr/bin/env bash
# The window under Wine on large files: Halvern.exe started, a generated file opened through
# "Openen", saved to a new name through "Opslaan" and renumbered INDI from 1 through the choice
# dialog, all driven from outside through the real windows (halvern-window-bench). Prints per size
# the time to open the file, the time from "Uitvoeren" to the elapsed time in the status bar, and
# the program's peak memory. Target: 100,000 individuals within 1 s. Call it under xvfb-run.
# Usage: bench/window.sh WINDOWS_BUILD_DIR NATIVE_BUILD_DIR
# With HALVERN_WINDOW_SHOT=FILE.png the window of the largest size is photographed after its run.
set -euo pipefail

windows=$(cd "${1:?usage: bench/window.sh WINDOWS_BUILD_DIR NATIVE_BUILD_DIR}" && pwd)
native=$(cd "${2:?usage: bench/window.sh WINDOWS_BUILD_DIR NATIVE_BUILD_DIR}" && pwd)
sizes=${HALVERN_WINDOW_BENCH_SIZES:-10000 100000}

cmake --build "$windows" -j2 --target Halvern halvern-window-bench
cmake --build "$native" -j2 --target gedcom-gen
data="$windows/bench-data"
mkdir -p "$data"

# A prefix of its own (wine-prefix.sh leaves its windows to no window manager: Xvfb runs none, and
# Wine would wait two seconds for one each time a dialog is hidden, which no user meets).
. "$(dirname "$0")/../scripts/wine-prefix.sh" "$windows" wineprefix-bench

for individuals in $sizes; do
  input="$data/individuals-$individuals.ged"
  [ -f "$input" ] || "$native/bin/gedcom-gen" "$individuals" "$input"
  printf '\n%d individuals, %.1f MB\n' "$individuals" "$(stat -c %s "$input" | awk '{ print $1 / 1e6 }')"
  hold=()
  [ -n "${HALVERN_WINDOW_SHOT:-}" ] && [ "$individuals" = "${sizes##* }" ] && hold=(4000)
  rm -f "$data/result"
  wine "$windows/bin/halvern-window-bench.exe" "$(winepath -w "$windows/bin/Halvern.exe")" \
    "$(winepath -w "$input")" "$(winepath -w "$data/output-$individuals.ged")" "${hold[@]}" >"$data/result" &
  bench=$!
  if [ ${#hold[@]} -gt 0 ]; then
    while ! grep -qs '^window ' "$data/result" && kill -0 "$bench" 2>/dev/null; do sleep 0.1; done
    read -r _ left top width height < <(grep '^window ' "$data/result" | tr -d '\r')
    sleep 0.5
    import -window root -crop "${width}x${height}+${left}+${top}" +repage "$HALVERN_WINDOW_SHOT"
  fi
  wait "$bench"
  result=$(grep -v '^window ' "$data/result" | tr -d '\r')
  printf '%s\n' "$result"
  if [ "$individuals" -eq 100000 ]; then
    run_ms=$(printf '%s\n' "$result" | awk '/^run / { print $(NF - 1) }')
    awk -v ms="$run_ms" 'BEGIN { printf "target: the run within 1000 ms: %s\n", ms <= 1000 ? "met" : "NOT met" }'
  fi
done
