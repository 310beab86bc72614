#!/usr/bin/env bash
# Runs the Windows build's tests under Wine. Call it under xvfb-run: the window tests need a display.
# Usage: scripts/wine-tests.sh BUILD_DIR [ctest arguments...]
set -euo pipefail
build=$(cd "$1" && pwd); shift

. "$(dirname "$0")/wine-prefix.sh" "$build"

ctest --test-dir "$build" --output-on-failure "$@"
