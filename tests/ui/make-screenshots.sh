#!/usr/bin/env bash
# Makes docs/informatie.png and docs/help.png from a Windows build, under Xvfb and Wine.
# Usage: xvfb-run -a -s "-screen 0 1024x768x24" bash tests/ui/make-screenshots.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
docs=$(cd "$(dirname "$0")/../../docs" && pwd)
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
[ -f "$WINEPREFIX/system.reg" ] || { wineboot --init >/dev/null 2>&1; wineserver -w; }
wine cmd /c exit >/dev/null 2>&1 </dev/null
# Xvfb has no window manager: Wine draws the title bars itself while the shots are taken.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
trap "wine reg delete 'HKCU\\Software\\Wine\\X11 Driver' /v Managed /f >/dev/null 2>&1; wine reg delete 'HKCU\\Software\\Wine\\X11 Driver' /v Decorated /f >/dev/null 2>&1; wineserver -k || true" EXIT

# shot NAME ARG: starts the demo, waits until its window is up and settled, and grabs it.
shot() {
  wine "$build/bin/screenshot_demo.exe" "$2" >/dev/null 2>&1 </dev/null &
  local demo=$!
  sleep 2.5
  import -window root -crop "$3" +repage "$docs/$1"
  wait "$demo"
}
shot informatie.png info 240x300+392+234
shot help.png help 800x590+110+40
