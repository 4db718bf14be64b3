#!/usr/bin/env bash
# check-dist.sh CPACK BUILD_DIR STAGE_DIR ZIP_NAME: packs the release with CPack into a scratch
# folder, then checks that the zip has the versioned name and holds one top folder Coiffure/
# with exactly the files of the staged release folder, byte for byte.
set -euo pipefail
cpack=$1
build=$2
stage=$3
name=$4
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
(cd "$build" && "$cpack" -G ZIP -B "$tmp/out" > "$tmp/cpack.log" 2>&1) || { cat "$tmp/cpack.log"; exit 1; }
zip=$tmp/out/$name
[ -f "$zip" ] || { echo "CPack did not write $name:"; ls "$tmp/out"; exit 1; }
mkdir "$tmp/x"
(cd "$tmp/x" && cmake -E tar xf "$zip")
top=$(ls -A "$tmp/x")
[ "$top" = Coiffure ] || { echo "the zip's top level is not one folder Coiffure/: $top"; exit 1; }
diff -r "$stage" "$tmp/x/Coiffure"
echo "$name: $(find "$tmp/x/Coiffure" -type f | wc -l) files, exactly as staged"
