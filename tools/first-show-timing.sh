#!/usr/bin/env bash
# first-show-timing.sh BUILD [COPIES] [RUNS] [replace]: how long the main window takes to appear
# after the splash has gone, read from the X server. The staged program runs on a virtual display
# in a scratch copy of the release folder whose library holds COPIES copies of each shipped style
# (default 1: the shipped library). Prints one line per run: the splash's time on screen and the
# gap between the splash disappearing and the main window (its gallery filled) appearing. With
# "replace", 1.5 s into each splash bob_black.bmp is overwritten by another style of the same
# size that keeps bob_black's write time, as a copy from the same archive would.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$(cd "${1:?usage: $0 BUILD [COPIES] [RUNS]}" && pwd)
copies=${2:-1}
runs=${3:-3}
replace=${4:-}
stage=$build/windows/Coiffure
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
export WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
"$here/wine-prefix.sh" virtual
scratch=$(mktemp -d /tmp/first-show.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
cp -r "$stage/." "$scratch/"
if [ "$copies" -gt 1 ]; then
  for f in "$stage"/ml_fx/*.bmp; do
    name=$(basename "$f" .bmp)
    case "$name" in *mask) continue ;; esac
    for i in $(seq 2 "$copies"); do
      cp "$f" "$scratch/ml_fx/${name}_$i.bmp"
      cp "$stage/ml_fx/${name}mask.bmp" "$scratch/ml_fx/${name}_${i}mask.bmp"
    done
  done
fi
# Kept out of the library's sight (a leading dot) to put the replaced picture back for each run.
[ -n "$replace" ] && cp -p "$scratch/ml_fx/bob_black.bmp" "$scratch/ml_fx/.bob_black.orig"
echo "library: $(ls "$scratch"/ml_fx | grep -vc mask) styles${replace:+, bob_black.bmp replaced during each splash}"
cd "$scratch"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  now() { date +%s%N; }
  visible() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
  # Waits until the window named $2 is shown (1) or gone (0); gives up after 60 s.
  wait_for() {
    local start=$(now)
    until { visible "$2" && [ "$1" = 1 ]; } || { ! visible "$2" && [ "$1" = 0 ]; }; do
      if [ $(( ($(now) - start) / 1000000000 )) -ge 60 ]; then
        echo "gave up waiting for "$2" to be $1; visible windows:" >&2
        for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do xdotool getwindowname "$w" >&2; done
        return 1
      fi
    done
  }
  # One server for all runs: a server restarted at once after being stopped can leave the next
  # program waiting for it.
  wineserver -p
  for run in $(seq "$1"); do
    cp ml_fx/.bob_black.orig ml_fx/bob_black.bmp 2>/dev/null && touch -r ml_fx/.bob_black.orig ml_fx/bob_black.bmp
    wine ./Coiffure.exe & pid=$!
    wait_for 1 "^csh$" || { wineserver -k; exit 1; }
    shown=$(now)
    if [ -n "$2" ]; then
      ( sleep 1.5; cp ml_fx/afro_black.bmp ml_fx/bob_black.bmp
        touch -r ml_fx/.bob_black.orig ml_fx/bob_black.bmp ) &
    fi
    wait_for 0 "^csh$" || exit 1
    gone=$(now)
    wait_for 1 "^Coiffure" || exit 1
    main=$(now)
    echo "run $run: splash on screen $(( (gone - shown) / 1000000 )) ms, main window $(( (main - gone) / 1000000 )) ms after the splash went"
    kill -9 $pid 2>/dev/null || true
    wait $pid 2>/dev/null || true
  done
  wineserver -k 2>/dev/null || true' bash "$runs" "$replace"
