#!/usr/bin/env bash
# regenerate.sh COMMITTED TOOL [ARGS...]
#
# A file that a tool makes but the repository carries (the cross build cannot
# run native tools, and the README shows a picture) must not drift from its
# tool: runs TOOL ARGS -o NEW and compares NEW with COMMITTED byte for byte.
set -u
if [ $# -lt 2 ]; then
  echo "usage: regenerate.sh COMMITTED TOOL [ARGS...]" >&2
  exit 2
fi
committed=$1
shift
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
new="$scratch/$(basename "$committed")"
"$@" -o "$new" || { echo "FAIL: $* -o $new ended with $?" >&2; exit 1; }
if ! cmp "$new" "$committed"; then
  echo "FAIL: $committed is not what the tool makes now; regenerate it with" >&2
  echo "  $* -o $committed" >&2
  exit 1
fi
echo "PASS: $committed is what $(basename "$1") makes"
