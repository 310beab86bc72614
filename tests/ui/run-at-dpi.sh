#!/bin/sh
# Runs a Windows test program under Wine in a prefix of its own whose screen has DPI dots per inch
# (HKCU\Control Panel\Desktop\LogPixels, read by every Wine process as it starts).
# Usage: run-at-dpi.sh PREFIX DPI PROGRAM [ARGUMENTS...]
set -eu
WINEPREFIX=$1
dpi=$2
shift 2
WINEDEBUG=-all
WINEDLLOVERRIDES="mscoree,mshtml="
LC_ALL=C.UTF-8
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES LC_ALL

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot --init >/dev/null 2>&1 </dev/null
  wineserver -w
fi
# One server for this prefix while the test runs; Wine's services are started here with their
# output going nowhere, so that they cannot hold the test runner's pipe open.
wineserver -p
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 </dev/null
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 </dev/null
wine "$@"
