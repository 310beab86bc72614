#!/usr/bin/env bash
# Runs the Windows build's tests under Wine. Call it under xvfb-run: the window tests need a display.
# Usage: scripts/wine-tests.sh BUILD_DIR [ctest arguments...]
set -euo pipefail
build=$(cd "$1" && pwd); shift

export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Preparing Wine prefix $WINEPREFIX"
  wineboot --init >/dev/null 2>&1
  wineserver -w
  # A crashing test prints its backtrace and ends; no crash dialog waits for a click.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  wineserver -w
fi

# One persistent wineserver for all test processes of this run; stopped again when we leave.
wineserver -p
# Start Wine's background services now, outside ctest: started by the first test they would inherit
# ctest's output pipe and keep it open after the tests have ended.
wine cmd /c exit </dev/null >/dev/null 2>&1
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT

ctest --test-dir "$build" --output-on-failure "$@"
