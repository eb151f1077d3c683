#!/usr/bin/env bash
# CHeaderNamesTest.sh FONTGEN ATLAS CC CXX C_INTERFACE_DIR
# The font headers runeplate-fontgen writes, included beside the C interface
# (runeplate.h) as a program on a device includes them, compiled as C99 and
# as C++: one row per fault, each row's headers and a program that uses every
# array (and, for the compact form, runs the usage lines of the header's own
# comment). A row: the fault it would catch | --compact or not | the --c-name
# of each header (- for none) | the array names the program uses.
set -u
fontgen=$1 atlas=$2 cc=$3 cxx=$4 cinterface=$5
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
rows=(
  "the compact default named like runeplate.h's type runeplate_font|--compact|-|runeplate_compact_font"
  "the atlas default colliding with the C interface||-|runeplate_atlas"
  "runeplate.h's guard RUNEPLATE_H given to the array runeplate, which vanishes|--compact|runeplate|runeplate"
  "guards folded to upper case: the second of two fonts vanishes|--compact|round Round|round Round"
)
failed=0 n=0
for row in "${rows[@]}"; do
  IFS='|' read -r fault compact names uses <<<"$row"
  dir=$scratch/row$((++n))
  mkdir "$dir"
  includes="#include \"runeplate.h\"" i=0
  for name in $names; do
    option=()
    [ "$name" = - ] || option=(--c-name "$name")
    # shellcheck disable=SC2086
    "$fontgen" "$atlas" -o "$dir/font$i.h" $compact "${option[@]}" 2>"$dir/err.txt" ||
      { echo "FAIL ($fault): fontgen: $(head -n 1 "$dir/err.txt")"; failed=1; continue 2; }
    includes+=$'\n'"#include \"font$i.h\""$'\n'"#include \"font$i.h\""
    i=$((i + 1))
  done
  body="unsigned long total = 0;"
  for name in $uses; do body+=" total += sizeof $name + $name[0];"; done
  # The header's usage lines ("//   runeplate_..."), as a user would paste them.
  usage=$(sed -n 's|^//   \(runeplate_.*\)$|\1|p' "$dir/font0.h")
  cat >"$dir/use.c" <<C
$includes
int main(void) {
  $body
  {
$usage
  }
  return total == 0;
}
C
  cp "$dir/use.c" "$dir/use.cpp"
  if ! "$cc" -std=c99 -Wall -Werror -I"$cinterface" -I"$dir" -c "$dir/use.c" -o "$dir/c.o" 2>"$dir/cc.txt" ||
     ! "$cxx" -std=c++14 -Wall -Werror -I"$cinterface" -I"$dir" -c "$dir/use.cpp" -o "$dir/cxx.o" 2>>"$dir/cc.txt"; then
    echo "FAIL ($fault): the program does not compile:"
    grep -m 3 error "$dir/cc.txt"
    failed=1
  fi
done
[ "$failed" -eq 0 ] || exit 1
echo "PASS: every font header compiles beside runeplate.h, its usage lines too"
