#!/usr/bin/env bash
# ScreenTest.sh WORK: the virtual screen of scripts/lib/wine-screen.sh.
# Catches two runs side by side landing on one display number, a screen of
# the wrong size, a server left running or leaving its lock file and socket
# behind, and a server that fails to start without a word or with DISPLAY
# pointing at nothing. Skipped (77) where Xvfb or xdpyinfo is missing.
set -u
source "$(dirname "$0")/../../scripts/lib/wine-screen.sh"
work=$1
rm -rf "$work"
mkdir -p "$work"
screen_available && command -v xdpyinfo >/dev/null || { echo "Xvfb or xdpyinfo missing"; exit 77; }

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
displays=()
pids=()
trap 'for pid in "${pids[@]}"; do screen_kill_pid "$pid"; done' EXIT

for i in 0 1; do
  SCREEN_PID=""
  screen_start "$work/screen$i" || { fail "screen $i did not start"; continue; }
  displays[i]=$DISPLAY
  pids[i]=$SCREEN_PID
  xdpyinfo | grep -q "dimensions: *800x600 pixels" || fail "screen $DISPLAY is not 800 x 600"
done
[ "${displays[0]:-}" != "${displays[1]:-}" ] || fail "both screens on ${displays[0]:-}"

for i in "${!pids[@]}"; do
  SCREEN_PID=${pids[i]}
  screen_stop
  [ -z "$SCREEN_PID" ] || fail "SCREEN_PID still set after screen_stop"
  kill -0 "${pids[i]}" 2>/dev/null && fail "the server of ${displays[i]} still runs"
  number=${displays[i]#:}
  for file in "/tmp/.X$number-lock" "/tmp/.X11-unix/X$number"; do
    [ ! -e "$file" ] || fail "$file left behind"
  done
done

# A server that cannot start: one line naming the reason, and no DISPLAY.
mkdir -p "$work/bin"
printf '#!/bin/sh\necho "no screens available" >&2\nexit 1\n' >"$work/bin/Xvfb"
chmod +x "$work/bin/Xvfb"
unset DISPLAY
PATH="$work/bin:$PATH" screen_start "$work/broken" 2>"$work/broken.err" && fail "a failed start returned 0"
errors=$(cat "$work/broken.err")
[ "$(wc -l <"$work/broken.err")" -eq 1 ] && [[ $errors == *"no screens available"* ]] ||
  fail "a failed start said: $errors"
[ -z "${DISPLAY:-}" ] || fail "a failed start exported DISPLAY=$DISPLAY"

[ "$failures" -eq 0 ] || exit 1
echo "ok"
