#!/usr/bin/env bash
# A close request to the window (WM_CLOSE, as the system sends it when the
# user closes a window) ends the program within a few seconds, exit code 0.
source "$(dirname "$0")/lib.sh"

e2e_begin close
e2e_start_screen
e2e_make_prefix
e2e_stage_app
e2e_start_program "$E2E_APP"
e2e_wait_window 30
e2e_wait_frame 30 before-close
e2e_wine_run 20 "$RUNEPLATE_E2E_HELPER" close || e2e_fail "the helper could not post WM_CLOSE"
e2e_expect_exit 10 0
