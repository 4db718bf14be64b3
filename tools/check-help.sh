#!/usr/bin/env bash
# check-help.sh HELP.CHM: opens the compiled help the way a viewer would (7z reads CHM) and checks
# that every page of the project is inside, readable as GBK, and that the file is marked as
# Simplified Chinese.
set -euo pipefail
chm=$1
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
project=$here/../data/ml_help/help.hhp
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
7z x -y -o"$tmp" "$chm" > /dev/null
fail=0
pages=$(sed -n '/^\[FILES\]/,/^\[/p' "$project" | grep -v '^\[' | grep -v '^$' | tr -d '\r')
for page in $pages toc.hhc; do
  if [ ! -f "$tmp/$page" ]; then
    echo "missing from the CHM: $page"; fail=1; continue
  fi
  if ! iconv -f GBK -t UTF-8 "$tmp/$page" > "$tmp/$page.utf8"; then
    echo "not GBK: $page"; fail=1; continue
  fi
  case "$page" in
    *.html) grep -q '<title>.*[^ -~].*</title>' "$tmp/$page.utf8" || { echo "no Chinese title: $page"; fail=1; } ;;
  esac
done
grep -q '名称mask.bmp' "$tmp/library.html.utf8" || { echo "library page lacks the naming rule"; fail=1; }
grep -q 'CoiffureImport.exe /quiet' "$tmp/import.html.utf8" || { echo "import page lacks the command line"; fail=1; }
grep -q 'CoiffureImport.exe /quiet /shade' "$tmp/shades.html.utf8" || { echo "shades page lacks the command line"; fail=1; }
grep -q 'CoiffureImport.exe /quiet /matte' "$tmp/cutout.html.utf8" || { echo "cut-out page lacks the command line"; fail=1; }
grep -q 'MIRALOOKCFG' "$tmp/settings.html.utf8" || { echo "settings page lacks the section"; fail=1; }
grep -q '拍摄顾客照片' "$tmp/toc.hhc.utf8" || { echo "contents lack their Chinese names"; fail=1; }
# The language entry of #SYSTEM (code 4) carries the locale 0x0804.
xxd -p "$tmp/#SYSTEM" | tr -d '\n' | grep -q '040024000408' || { echo "not marked as zh-CN"; fail=1; }
[ $fail -eq 0 ] && echo "help.chm: $(echo $pages | wc -w) files, GBK, zh-CN"
exit $fail
