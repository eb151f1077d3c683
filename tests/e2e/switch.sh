#!/usr/bin/env bash
# Switching away from the full-screen program and back brings its picture
# back. First another window is brought to the front (it covers the picture)
# and closed again, and the program's window is brought back to the front;
# then the program's window is minimised and restored. Each time the screen
# must afterwards show a new frame that matches the reference exactly, and
# Escape must still end the program.
source "$(dirname "$0")/lib.sh"

helper() {
  e2e_wine_run 20 "$RUNEPLATE_E2E_HELPER" "$@" || e2e_fail "runeplate-e2e-helper $* failed"
}

e2e_begin switch
e2e_start_screen
e2e_make_prefix
e2e_stage_app
e2e_start_program "$E2E_APP"
e2e_wait_window 30
e2e_wait_frame 30 before-switch

switch_log="$E2E_DIR/switch.log"
(exec timeout --kill-after=5 30 wine "$RUNEPLATE_E2E_HELPER" switch 3) >"$switch_log" 2>&1 &
switcher=$!
e2e_track "$switcher"
deadline=$(e2e_deadline 20)
until grep -q '^switched' "$switch_log"; do
  e2e_before "$deadline" || e2e_fail "the other window did not come up: $(cat "$switch_log")"
  sleep 0.1
done
e2e_log "$(head -n 1 "$switch_log")"
sleep 1
shot=$(e2e_shot away) || exit 1
if e2e_check "$shot"; then
  e2e_fail "the program's frame is whole on the screen with another window in front: the switch did not happen"
fi
e2e_log "while away: ${E2E_REPORT%%$'\n'*}"
wait "$switcher"
e2e_log "$(helper restore)"
e2e_wait_frame 30 after-switch
last=$E2E_FRAME

e2e_log "$(helper minimize)"
sleep 1
shot=$(e2e_shot minimised) || exit 1
e2e_check "$shot" && last=$E2E_FRAME
e2e_log "while minimised: ${E2E_REPORT%%$'\n'*}"
e2e_log "$(helper restore)"
e2e_wait_frame 30 after-restore "$last"

e2e_key Escape
e2e_expect_exit 10 0
