#!/usr/bin/env bash
# Runs the frame-rate benchmark under Wine on a virtual screen of its own and
# prints its figures. Arguments go to runeplate-framerate (--frames N).
# RUNEPLATE_BUILD names the Windows build folder (default
# build/windows); build runeplate_framerate there first.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath -m "${RUNEPLATE_BUILD:-$root/build/windows}")
bench="$build/bin/runeplate-framerate.exe"
font="$build/bin/a1bit.bmp"
for file in "$bench" "$font"; do
  [ -f "$file" ] || { echo "run.sh: no $file (build the windows preset first)" >&2; exit 1; }
done

export RUNEPLATE_E2E_WORK="$build/bench"
export RUNEPLATE_E2E_TEMPLATE="$build/run-prefix-template"
source "$root/tests/e2e/lib.sh"

e2e_begin framerate ""
e2e_start_screen
e2e_make_prefix
mkdir -p "$E2E_DIR/app"
cp "$bench" "$font" "$E2E_DIR/app/"
# The benchmark's own output goes to stdout; Wine's to the log.
(cd "$E2E_DIR/app" && exec timeout --kill-after=10 1200 wine runeplate-framerate.exe "$@") 2>"$E2E_DIR/wine.log"
status=$?
[ "$status" -eq 0 ] || e2e_fail "runeplate-framerate ended with exit code $status: $(tail -n 5 "$E2E_DIR/wine.log")"
