#!/usr/bin/env bash
# CSourceTest.sh FONTGEN ATLAS CC
# The atlas as C source holds the atlas file's pixel block byte for byte:
# a C program compiled with the header writes its array out, and that must
# be the file's last 16384 bytes (a wrong row order, byte count or a lost
# byte would differ). The array's name follows --c-name.
set -u
fontgen=$1 atlas=$2 cc=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$fontgen" "$atlas" -o "$scratch/atlas.h" --c-name my_font || { echo "FAIL: fontgen ended with $?"; exit 1; }
cat >"$scratch/dump.c" <<'C'
#include <stdio.h>
#include "atlas.h"
#include "atlas.h" /* the guard keeps a second inclusion harmless */
int main(void) { return fwrite(my_font, 1, sizeof my_font, stdout) == 16384 ? 0 : 1; }
C
"$cc" -std=c99 -Wall -Werror -o "$scratch/dump" "$scratch/dump.c" || { echo "FAIL: the header does not compile"; exit 1; }
"$scratch/dump" >"$scratch/block" || { echo "FAIL: dump failed"; exit 1; }
tail -c 16384 "$atlas" >"$scratch/expected"
cmp "$scratch/block" "$scratch/expected" || { echo "FAIL: the array is not the atlas's pixel block"; exit 1; }
grep -q "Licence:" "$scratch/atlas.h" || { echo "FAIL: no licence in the header's comment"; exit 1; }
echo "PASS: the C array is the pixel block of $atlas"
