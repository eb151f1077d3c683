#!/usr/bin/env bash
# The README's picture of each atlas is what the reference renderer draws
# with it today: font-pictures.sh RENDER ROOT [--update] checks (or remakes)
# ROOT/docs/fonts/NAME.png for every atlas in ROOT/assets/fonts.
set -euo pipefail
render=$1 root=$2 update=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for name in round unifont dotum; do
  case $name in
    round) label=Round ;;
    unifont) label=Unifont ;;
    dotum) label=Dotum ;;
  esac
  "$render" --font "$root/assets/fonts/$name/a1bit.bmp" --scale 2 \
    "$label: 다람쥐 헌 쳇바퀴에 타고파. 원 궤 뷁 읽 값 - Hangul & ABC 123" -o "$work/$name.png"
  if [ "$update" = --update ]; then
    cp "$work/$name.png" "$root/docs/fonts/$name.png"
  elif ! cmp -s "$work/$name.png" "$root/docs/fonts/$name.png"; then
    echo "docs/fonts/$name.png is not what the reference renderer draws with assets/fonts/$name;" \
         "remake it with tests/tools/fontgen/font-pictures.sh RENDER . --update" >&2
    status=1
  fi
done
exit $status
