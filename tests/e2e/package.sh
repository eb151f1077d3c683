#!/usr/bin/env bash
# The release package works on its own: the ZIP that CPack makes from this
# build, unpacked into an empty folder, holds exactly the program, its font,
# the two licence notices and the users' README with CRLF line endings, and
# the program run from there draws exact frames.
source "$(dirname "$0")/lib.sh"

config=${RUNEPLATE_CPACK_CONFIG:?RUNEPLATE_CPACK_CONFIG is not set}

e2e_begin package
e2e_log "making the package"
timeout 300 cpack --config "$config" -B "$E2E_DIR/cpack" >"$E2E_DIR/cpack.log" 2>&1 ||
  e2e_fail "cpack failed: $(tail -n 20 "$E2E_DIR/cpack.log")"
zips=("$E2E_DIR"/cpack/runeplate-*-win64.zip)
[ ${#zips[@]} -eq 1 ] && [ -f "${zips[0]}" ] || e2e_fail "expected one runeplate-<version>-win64.zip, found: ${zips[*]}"
zip=${zips[0]}
e2e_log "package $(basename "$zip"), $(stat -c %s "$zip") bytes"

mkdir "$E2E_DIR/unpacked"
unzip -q "$zip" -d "$E2E_DIR/unpacked" || e2e_fail "cannot unpack $zip"
top="$E2E_DIR/unpacked/$(basename "$zip" .zip)"
[ -d "$top" ] || e2e_fail "the package has no folder $(basename "$top")"
(cd "$E2E_DIR/unpacked" && find . -type f | sort | sed 's/^/  /')
# Nothing missing and nothing extra (the developers' README.md stays out).
files=$(cd "$top" && find . -mindepth 1 | sed 's|^\./||' | LC_ALL=C sort | tr '\n' ' ')
fonts=""
for font in dotum round unifont; do fonts+="fonts/$font fonts/$font/NOTICE fonts/$font/a1bit.bmp "; done
expected="LICENSE README.txt a1bit.bmp fonts $fonts""runeplate.exe "
[ "$files" = "$expected" ] || e2e_fail "the package holds \"$files\", expected \"$expected\""
# A line without its CR shows run together in older Windows editors.
bare=$(grep -c $'[^\r]$\|^$' "$top/README.txt")
[ "$bare" -eq 0 ] || e2e_fail "README.txt has $bare lines not ended by CRLF"
cmp -s "$top/a1bit.bmp" "$top/fonts/round/a1bit.bmp" || e2e_fail "a1bit.bmp is not the Round atlas of fonts/round"

e2e_start_screen
e2e_make_prefix
e2e_frame_checks "$top"
