#!/usr/bin/env bash
# Two builds of one commit make the same fonts zip, byte for byte: catches a
# zip that records the clock (file times, access and change times in extra
# fields), files stored in the order a folder lists them, or a font writer
# that dates its fonts by the clock rather than SOURCE_DATE_EPOCH. One atlas
# keeps it cheap. Usage: FontsZipReproducibleTest.sh CMAKE FONTGEN SOURCE_DIR WORK
set -euo pipefail
cmake=$1 fontgen=$2 source=$3 work=$4
rm -rf "$work"
mkdir -p "$work/a" "$work/b"
for build in a b; do
  "$cmake" -DFONTGEN="$fontgen" -DASSETS="$source/assets/fonts" -DSTAGE="$work/$build/stage" \
    -DZIP="$work/$build/runeplate-fonts.zip" -DFONTS=dotum -DSOURCE_DIR="$source" \
    -P "$source/cmake/MakeFontsZip.cmake"
  sleep 1  # a clock that moved on between the builds
done
if ! cmp "$work/a/runeplate-fonts.zip" "$work/b/runeplate-fonts.zip"; then
  for file in "$work"/a/stage/runeplate-fonts/dotum/*; do
    cmp -s "$file" "$work/b/stage/runeplate-fonts/dotum/${file##*/}" || echo "differs: ${file##*/}"
  done
  exit 1
fi
# Dated by the last commit (or SOURCE_DATE_EPOCH), not by the build.
expected=$(date -u -d "@${SOURCE_DATE_EPOCH:-$(git -C "$source" log -1 --format=%ct)}" +%Y%m%d.%H%M)
dates=$(TZ=UTC zipinfo -T "$work/a/runeplate-fonts.zip" | awk '/^-/ {print $(NF-1)}' | cut -c1-13 | sort -u)
if [ "$dates" != "$expected" ]; then
  echo "files dated $dates, not $expected"
  exit 1
fi
rm -rf "$work"
echo "two builds made the same zip, byte for byte"
