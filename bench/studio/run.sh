#!/usr/bin/env bash
# bench/studio/run.sh: the studio's figures. Builds the web preset (if need
# be), then prints the site's size gzipped, the syllable grid's redraw after
# one pixel edit, composing text, importing and fitting fonts, writing each
# format (under node), and the time from opening the page to its first drawn
# text (headless Chromium). Figures only, never pass or fail; the goals are
# printed beside them.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
export NODE_PATH=/usr/share/nodejs
scripts/setup || exit 1
{ [ -f build/web/CMakeCache.txt ] || cmake --preset web >/dev/null; } && cmake --build --preset web >/dev/null ||
  { echo "bench/studio: building the web preset failed" >&2; exit 1; }
exec node bench/studio/bench.mjs
