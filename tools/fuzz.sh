#!/usr/bin/env bash
# Builds the libFuzzer targets in tests/fuzz with clang, AddressSanitizer and UBSan, then either
# runs each for FUZZ_SECONDS (default 180) or merges what was found into the committed corpus.
# Usage: tools/fuzz.sh BUILD_DIR [run|merge]
set -euo pipefail
cd "$(dirname "$0")/.."
B=$1
MODE=${2:-run}
SECS=${FUZZ_SECONDS:-180}
CXX=${FUZZ_CXX:-clang++}
OUT=$B/fuzz
FLAGS=(-std=c++20 -g -O1 -fno-omit-frame-pointer -fsanitize=address,undefined
       -fno-sanitize-recover=all -Isrc -Itests)
declare -A MAX_LEN=([bmp_fuzz]=16384 [composite_fuzz]=8192 [picture_header_fuzz]=4096 [marks_fuzz]=2048)
TARGETS=(bmp_fuzz composite_fuzz picture_header_fuzz marks_fuzz)

mkdir -p "$OUT/obj" "$OUT/artifacts"
objs=()
while IFS= read -r src; do
  obj="$OUT/obj/$(echo "${src%.cpp}" | tr / _).o"
  if [ ! -f "$obj" ] || [ "$src" -nt "$obj" ] || [ -n "$(find src -name '*.h' -newer "$obj")" ]; then
    "$CXX" "${FLAGS[@]}" -fsanitize=fuzzer-no-link -c "$src" -o "$obj"
  fi
  objs+=("$obj")
done < <(find src -name '*.cpp' ! -name '*_win.cpp' | sort)
for t in "${TARGETS[@]}"; do
  "$CXX" "${FLAGS[@]}" -fsanitize=fuzzer "tests/fuzz/$t.cpp" "${objs[@]}" -o "$OUT/$t"
done

# The committed seeds: small valid files of every kind, written by make_seeds for a target whose
# corpus is missing (the others keep theirs as merged; marks_fuzz's seeds are committed as made).
missing=()
for t in "${TARGETS[@]}"; do [ -d "tests/fuzz/corpus/$t" ] || missing+=("$t"); done
if [ ${#missing[@]} -gt 0 ]; then
  rm -rf "$OUT/seeds" && mkdir -p "$OUT/seeds/bmp_fuzz" "$OUT/seeds/composite_fuzz" \
                                  "$OUT/seeds/picture_header_fuzz"
  "$CXX" -std=c++20 -Isrc -Itests tests/fuzz/make_seeds.cpp -o "$OUT/make_seeds"
  "$OUT/make_seeds" "$OUT/seeds/bmp_fuzz" "$OUT/seeds/composite_fuzz" \
                    "$OUT/seeds/picture_header_fuzz"
  for t in "${missing[@]}"; do cp -r "$OUT/seeds/$t" "tests/fuzz/corpus/$t"; done
fi

for t in "${TARGETS[@]}"; do
  mkdir -p "$OUT/corpus/$t"
  opts=(-max_len="${MAX_LEN[$t]}" -timeout=10 -rss_limit_mb=2048)
  if [ "$MODE" = merge ]; then
    # Keeps the repository's corpus minimal: only inputs that add coverage survive.
    rm -rf "$OUT/merged/$t" && mkdir -p "$OUT/merged/$t"
    "$OUT/$t" "${opts[@]}" -merge=1 "$OUT/merged/$t" tests/fuzz/corpus/$t "$OUT/corpus/$t"
    rm -rf "tests/fuzz/corpus/$t" && mv "$OUT/merged/$t" "tests/fuzz/corpus/$t"
  else
    "$OUT/$t" "${opts[@]}" -max_total_time="$SECS" -print_final_stats=1 \
      -artifact_prefix="$OUT/artifacts/$t-" "$OUT/corpus/$t" "tests/fuzz/corpus/$t" \
      >"$OUT/$t.log" 2>&1 || { tail -n 60 "$OUT/$t.log"; echo "$t failed: see $OUT/$t.log"; exit 1; }
    execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$OUT/$t.log" | grep -o '[0-9]*$')
    echo "$t: $execs executions in ${SECS}s; corpus $(ls "$OUT/corpus/$t" | wc -l) files in" \
         "$OUT/corpus/$t, $(ls "tests/fuzz/corpus/$t" | wc -l) committed"
  fi
done
