#!/usr/bin/env bash
# wine-prefix.sh [virtual|desktop]: makes the Wine prefix once (fonts mapped to an installed CJK
# font) and sets who frames the windows. "virtual" (the default, for tests and screenshots on a
# virtual display): Wine draws its own unmanaged frames. "desktop" (`make run` on a real
# display): the window manager is in charge.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
: "${WINEPREFIX:?}"
mode=${1:-virtual}
case "$mode" in virtual) reg=virtual-display.reg ;; desktop) reg=desktop.reg ;; *) echo "usage: $0 [virtual|desktop]" >&2; exit 2 ;; esac
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
if [ "$(cat "$WINEPREFIX/.coiffure-frames" 2>/dev/null)" != "$mode" ]; then
  WINEDEBUG=-all wine regedit "$here/wine/$reg" >/dev/null 2>&1
  wineserver -w || true
  echo "$mode" > "$WINEPREFIX/.coiffure-frames"
fi
