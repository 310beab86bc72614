# Sourced by the scripts that run Windows programs of a build tree under Wine: sets the
# environment for the tree's own prefix, makes the prefix when it is missing, and starts one
# persistent wineserver that is stopped again when the calling script ends.
# Usage: . scripts/wine-prefix.sh BUILD_DIR [PREFIX_NAME]   (BUILD_DIR absolute; default wineprefix)
export WINEPREFIX="$1/${2:-wineprefix}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Preparing Wine prefix $WINEPREFIX"
  wineboot --init >/dev/null 2>&1
  wineserver -w
  # A crashing program prints its backtrace and ends; no crash dialog waits for a click.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  wineserver -w
fi

wineserver -p
# Start Wine's background services now: started by the first program they would inherit its
# output pipe and keep it open after it has ended.
wine cmd /c exit </dev/null >/dev/null 2>&1
# Windows not left to a window manager: Xvfb runs none, and Wine then waits two seconds for one
# each time a window is hidden, which no user of the program meets.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
