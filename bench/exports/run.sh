#!/usr/bin/env bash
# Font export figures: how long runeplate-fontgen takes to write each font
# format from an atlas (the Round atlas by default) and how large the file
# is, each format once, then all together; beside them, for the committed
# atlases, the figures of the writer before ours (fontTools through
# Python, measured on the same two-core machine). Wall seconds move with
# the machine's load, processor seconds much less. Figures only, never pass
# or fail. Needs the native build (runeplate-fontgen). Usage: run.sh [ATLAS]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath -m "${RUNEPLATE_BUILD:-$root/build/native}")
fontgen="$build/tools/runeplate-fontgen"
[ -x "$fontgen" ] || { echo "run.sh: no $fontgen (build the native preset first)" >&2; exit 1; }
atlas=${1:-$root/assets/fonts/round/a1bit.bmp}
name=$(basename "$(dirname "$(realpath -m "$atlas")")")

# "FORMAT ATLAS" -> "processor-seconds bytes" of the fontTools writer, as
# the build of commit c7fd4d1 wrote them.
declare -A before=(
  ["bdf round"]="0.02 1980391" ["otb round"]="0.25 490792" ["ttf round"]="0.62 530312"
  ["otf round"]="0.46 412852" ["woff2 round"]="1.45 25460" ["fnt round"]="0.34 1233192"
  ["bdf unifont"]="0.01 1980315" ["otb unifont"]="0.25 490744" ["ttf unifont"]="0.61 538848"
  ["otf unifont"]="0.47 419916" ["woff2 unifont"]="1.55 33144" ["fnt unifont"]="0.32 1218049"
  ["bdf dotum"]="0.02 1980535" ["otb dotum"]="0.31 491248" ["ttf dotum"]="0.61 543296"
  ["otf dotum"]="0.48 424740" ["woff2 dotum"]="1.85 54796" ["fnt dotum"]="0.38 1364451"
)

work=$(mktemp -d "${TMPDIR:-/tmp}/runeplate-exports.XXXXXX")
trap 'rm -rf "$work"' EXIT
printf '%-7s %9s %9s %12s   %14s %12s\n' format seconds 'cpu s' bytes 'before: cpu s' bytes
total_start=$(date +%s.%N)
cpu_total=0 before_total=0
for format in bdf otb ttf otf woff2 fnt; do
  out="$work/font.$format"
  /usr/bin/time -f '%e %U %S' -o "$work/time" "$fontgen" "$atlas" -o "$out"
  read -r wall user system <"$work/time"
  bytes=$(stat -c %s "$out")
  # A BMFont is its .fnt and its pages.
  [ "$format" = fnt ] && bytes=$(cat "$out" "$work"/font_*.png | wc -c)
  cpu=$(awk "BEGIN { print $user + $system }")
  cpu_total=$(awk "BEGIN { print $cpu_total + $cpu }")
  read -r old_cpu old_bytes <<<"${before["$format $name"]:--- --}"
  [ "$old_cpu" != -- ] && before_total=$(awk "BEGIN { print $before_total + $old_cpu }")
  printf "%-7s %9.2f %9.2f %12d   %14s %12s\n" "$format" "$wall" "$cpu" "$bytes" "$old_cpu" "$old_bytes"
done
printf "%-7s %9.2f %9.2f %12s   %14s\n" all "$(awk "BEGIN { print $(date +%s.%N) - $total_start }")" "$cpu_total" "" \
  "$([ "$before_total" = 0 ] && echo -- || echo "$before_total")"
