#!/usr/bin/env bash
# Installs what building, running and testing need on a Debian machine, only when missing.
# Usage: install-deps.sh [bench]
set -euo pipefail
need=()
want() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "ok installed" || need+=("$1"); }
for p in cmake make g++ googletest libgtest-dev mingw-w64 g++-mingw-w64-x86-64-posix wine wine64 \
         xvfb xauth xdotool imagemagick x11-utils fonts-wqy-microhei fp-utils p7zip-full libstb-dev; do
  want "$p"
done
if [ "${1:-}" = bench ]; then
  for p in libbenchmark-dev libopencv-dev; do want "$p"; done
fi
if [ "${1:-}" = fuzz ]; then
  for p in clang libclang-rt-14-dev; do want "$p"; done
fi
if [ ${#need[@]} -gt 0 ]; then
  echo "Installing: ${need[*]}"
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q "${need[@]}"
fi
