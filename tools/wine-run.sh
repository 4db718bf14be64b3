#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's own prefix, on a virtual display when
# there is no display. Used as CTest's emulator and by `make run`.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/../build/wineprefix}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
export WINEDEBUG=${WINEDEBUG:--all}
export LANG=${LANG:-C.UTF-8}

# The tests expect Wine's own frames, on a virtual display or not.
"$here/wine-prefix.sh" virtual

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" wine "$@"
fi
exec wine "$@"
