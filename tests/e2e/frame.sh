#!/usr/bin/env bash
# The screen shows exactly the frames the reference renderer draws: rows 16 to
# 599 pixel for pixel on two screenshots a moment apart, and rows 0 to 15
# nothing but the frame-rate counter. Escape then ends the program with exit
# code 0.
source "$(dirname "$0")/lib.sh"

e2e_begin frame
e2e_start_screen
e2e_make_prefix
e2e_stage_app
e2e_frame_checks "$E2E_APP"
