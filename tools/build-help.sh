#!/usr/bin/env bash
# build-help.sh SRC_DIR OUT_DIR: compiles the help sources into OUT_DIR/help.chm.
# The sources are kept in UTF-8; the help viewer reads the contents file and the project in the
# code page of the help file's language (Simplified Chinese: GBK), so every text file is
# converted on the way. A character GBK cannot hold stops the build.
set -euo pipefail
src=$1
out=$2
rm -rf "$out"
mkdir -p "$out"
for f in "$src"/*; do
  name=$(basename "$f")
  case "$name" in
    *.html | *.htm | *.hhc | *.hhk | *.hhp | *.css) iconv -f UTF-8 -t GBK "$f" > "$out/$name" ;;
    *) cp "$f" "$out/$name" ;;
  esac
done
cd "$out"
chmcmd --no-html-scan help.hhp > chmcmd.log 2>&1 || { cat chmcmd.log; exit 1; }
if grep -qi "error" chmcmd.log || [ ! -s help.chm ]; then
  cat chmcmd.log
  exit 1
fi
