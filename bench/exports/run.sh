#!/usr/bin/env bash
# Font export figures: how long runeplate-fontgen takes to write each font
# format from an atlas (the Round atlas by default) and how large the file
# is, each format once, then all together. Figures only, never pass or fail.
# Needs the native build (runeplate-fontgen). Usage: run.sh [ATLAS]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath -m "${RUNEPLATE_BUILD:-$root/build/native}")
fontgen="$build/tools/runeplate-fontgen"
[ -x "$fontgen" ] || { echo "run.sh: no $fontgen (build the native preset first)" >&2; exit 1; }
atlas=${1:-$root/assets/fonts/round/a1bit.bmp}

work=$(mktemp -d "${TMPDIR:-/tmp}/runeplate-exports.XXXXXX")
trap 'rm -rf "$work"' EXIT
printf '%-7s %9s %9s %12s\n' format seconds 'cpu s' bytes
total_start=$(date +%s.%N)
for format in bdf otb ttf otf woff2 fnt; do
  out="$work/font.$format"
  /usr/bin/time -f '%e %U %S' -o "$work/time" "$fontgen" "$atlas" -o "$out"
  read -r wall user system <"$work/time"
  bytes=$(stat -c %s "$out")
  # A BMFont is its .fnt and its pages.
  [ "$format" = fnt ] && bytes=$(cat "$out" "$work"/font_*.png | wc -c)
  printf "%-7s %9.2f %9.2f %12d\n" "$format" "$wall" "$(awk "BEGIN { print $user + $system }")" "$bytes"
done
printf "%-7s %9.2f\n" all "$(awk "BEGIN { print $(date +%s.%N) - $total_start }")"
