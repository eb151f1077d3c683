#!/usr/bin/env bash
# A real screen dump from an X server: runeplate-shot converts it to PNG and
# reports it as no frame of the program (the screen is black). Skipped (77)
# where Xvfb or xwd is not installed.
set -u
source "$(dirname "$0")/../../../scripts/lib/wine-screen.sh"
shot_tool=$1
work=$(mktemp -d)
trap 'screen_stop; rm -rf "$work"' EXIT

screen_available && command -v xwd >/dev/null || { echo "Xvfb or xwd missing"; exit 77; }
screen_start "$work" || exit 1

xwd -root -silent >"$work/shot.xwd" || { echo "xwd failed"; exit 1; }

"$shot_tool" topng "$work/shot.xwd" "$work/shot.png" || { echo "topng failed"; exit 1; }
signature=$(head -c 8 "$work/shot.png" | od -An -tx1 | tr -d ' \n')
[ "$signature" = "89504e470d0a1a0a" ] || { echo "not a PNG: $signature"; exit 1; }
# IHDR width and height, big-endian at bytes 16..23.
size=$(tail -c +17 "$work/shot.png" | head -c 8 | od -An -tx1 | tr -d ' \n')
[ "$size" = "0000032000000258" ] || { echo "PNG is not 800 x 600: $size"; exit 1; }

head -c 16446 /dev/urandom >"$work/font.bmp"
output=$("$shot_tool" check --font "$work/font.bmp" --max-frame 100 "$work/shot.xwd")
status=$?
[ "$status" -eq 1 ] || { echo "check exited $status on a black screen: $output"; exit 1; }
case "$output" in
  "frame=none counter=invalid mismatched=unknown"*) ;;
  *) echo "unexpected report: $output"; exit 1 ;;
esac
echo "ok"
