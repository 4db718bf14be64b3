#!/usr/bin/env bash
# Starts the staged program under Wine. Without a display it runs on a virtual one and saves a
# screenshot of the main window to BUILD/screenshot.png.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${1:-$here/../build}
stage=$build/windows/Coiffure
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
export WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
cd "$stage"
if [ -n "${DISPLAY:-}" ]; then
  "$here/wine-prefix.sh" desktop
  exec wine ./Coiffure.exe
fi
"$here/wine-prefix.sh" virtual
shot=$build/screenshot.png
echo "No display: running on a virtual display and saving a screenshot to $shot"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  wine ./Coiffure.exe & pid=$!
  sleep ${COIFFURE_SHOT_DELAY:-9}
  import -window root "$0"
  wineserver -k 2>/dev/null || true
  wait $pid 2>/dev/null || true' "$shot"
echo "Screenshot saved: $shot"
