#!/usr/bin/env bash
# Legibility benchmark: tesseract reads Hangul syllables drawn with each
# committed atlas and with each source font's own syllables, and the table
# of correct/total per font and setting is printed. Needs the native build
# (runeplate-legibility) and tesseract with its Korean model (Debian:
# tesseract-ocr, tesseract-ocr-kor). Arguments go to runeplate-legibility
# (--single N samples N syllables for the one-per-image settings; 400 by
# default, which keeps the run to a few minutes on two cores).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath -m "${RUNEPLATE_BUILD:-$root/build/native}")
bench="$build/bench/legibility/runeplate-legibility"
[ -x "$bench" ] || { echo "run.sh: no $bench (build the native preset first)" >&2; exit 1; }
command -v tesseract >/dev/null ||
  { echo "run.sh: no tesseract (apt-get install tesseract-ocr tesseract-ocr-kor)" >&2; exit 1; }

unifont=/usr/share/unifont/unifont.hex
neodgm="$root/build/cache/neodgm-0.5.0/neodgm.ttf"
dotum=/usr/share/fonts/X11/75dpi/dotum16.pcf.gz
for file in "$unifont" "$neodgm" "$dotum"; do
  [ -f "$file" ] || { echo "run.sh: no $file (run scripts/setup)" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/runeplate-legibility.XXXXXX")
trap 'rm -rf "$work"' EXIT
"$bench" --work "$work" "$@" \
  "unifont-atlas=$root/assets/fonts/unifont/a1bit.bmp" "unifont-own=$unifont" \
  "round-atlas=$root/assets/fonts/round/a1bit.bmp" "neodgm-own=$neodgm" \
  "dotum-atlas=$root/assets/fonts/dotum/a1bit.bmp" "dotum16-own=$dotum"
