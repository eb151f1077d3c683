#!/usr/bin/env bash
# The fonts download holds, for each atlas, every format, the NOTICE and the
# licence text, none of them empty, and nothing else: a format dropped from
# the build, a licence left out, a stray file. Usage: FontsZipTest.sh ZIP
set -euo pipefail
zip=$1
top=$(basename "$zip" .zip)
expected=$(
  for font in round unifont dotum; do
    licence=GPL-2.0.txt
    [ "$font" = round ] && licence=OFL.txt
    for file in "runeplate-$font.bdf" "runeplate-$font.otb" "runeplate-$font.ttf" "runeplate-$font.otf" \
                "runeplate-$font.woff2" \
                "runeplate-$font.fnt" "runeplate-${font}_0.png" NOTICE "$licence"; do
      echo "$top/$font/$file"
    done
  done | sort)
actual=$(unzip -Z1 "$zip" | grep -v '/$' | sort)
if [ "$actual" != "$expected" ]; then
  echo "$zip holds other files than expected:"
  diff <(echo "$expected") <(echo "$actual") || true
  exit 1
fi
empty=$(unzip -Zl "$zip" | awk '$4 == 0 && $NF !~ /\/$/ {print $NF}')
if [ -n "$empty" ]; then
  echo "$zip holds empty files: $empty"
  exit 1
fi
echo "$zip: $(echo "$expected" | wc -l) files"
