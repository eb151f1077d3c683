#!/usr/bin/env bash
# A copy of the template prefix is a prefix of its own. Catches a copy that
# shares the template's registry (a setting made in one scenario would reach
# every later scenario's prefix) and a Wine server that keeps its folder in
# /tmp, where it stays behind after every run, instead of beside the copy.
source "$(dirname "$0")/lib.sh"

e2e_begin prefix-copy
template=$(e2e_template_prefix) || exit 1
E2E_PREFIX="$E2E_DIR/prefix"
wine_clone "$template" "$E2E_PREFIX" || e2e_fail "cannot copy the template prefix"
wine_use "$E2E_PREFIX"
e2e_wine_run 60 reg add 'HKCU\Software\RuneplateCopy' /v copy /d yes /f >"$E2E_DIR/reg.log" 2>&1 ||
  e2e_fail "reg add failed in the copy: $(tail -n 3 "$E2E_DIR/reg.log")"
servers=("$(wine_tmpdir "$E2E_PREFIX")"/wine-*/server-*)
[ -d "${servers[0]}" ] || e2e_fail "the copy's Wine server has no folder in $(wine_tmpdir "$E2E_PREFIX")"
name=$(cat "$E2E_PREFIX/wineserver" 2>/dev/null)
[ -z "$name" ] || [ ! -e "/tmp/$name" ] || e2e_fail "the copy's Wine server made /tmp/$name"
# The server writes the registry out when it ends.
timeout 60 wineserver -w || e2e_fail "the copy's Wine server did not end"
grep -q RuneplateCopy "$E2E_PREFIX/user.reg" || e2e_fail "the setting did not reach the copy's registry"
! grep -q RuneplateCopy "$template/user.reg" || e2e_fail "the setting made in the copy reached the template's registry"
