#!/usr/bin/env bash
# Makes the Wine prefix once: fonts mapped to an installed CJK font, and Wine's own window frames.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
: "${WINEPREFIX:?}"
mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
if [ ! -f "$WINEPREFIX/.coiffure-ready" ]; then
  rm -rf "$WINEPREFIX"
  WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all wineboot -i >/dev/null 2>&1 || true
  WINEDEBUG=-all wine regedit "$here/wine/settings.reg" >/dev/null 2>&1
  wineserver -w || true
  touch "$WINEPREFIX/.coiffure-ready"
fi
