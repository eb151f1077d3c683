#!/usr/bin/env bash
# font.sh CASE: what the program does with a font file it cannot read, and
# with one it may not write.
#   missing    no a1bit.bmp: "File not found", exit code 1
#   short      16383 bytes, one short of the pixel data: "I/O error 131", exit code 1
#   locked     held open without sharing by another program: "I/O error 32", exit code 1
#   readonly   unwritable even for root: the program starts and draws as usual
source "$(dirname "$0")/lib.sh"

case=${1:?usage: font.sh missing|short|locked|readonly}

# expect_report MESSAGE: the fatal-error report names EInOutError in
# runeplate.exe with MESSAGE on its second line; OK ends the program with
# exit code 1.
expect_report() {
  local message=$1 output title text pattern
  output=$(e2e_wine_run 40 "$RUNEPLATE_MSGBOX" --timeout 30)
  local status=$?
  echo "$output" | sed 's/^/  msgbox: /'
  [ "$status" -eq 0 ] || e2e_fail "no message box read (runeplate-msgbox exit code $status)"
  title=$(sed -n 's/^TITLE: //p' <<<"$output" | tr -d '\r')
  text=$(sed -n 's/^TEXT: //p' <<<"$output" | tr -d '\r')
  [ "$title" = "Application Error" ] || e2e_fail "message box title \"$title\""
  # runeplate-msgbox writes the box's line feed as the two characters \n.
  pattern="^Exception EInOutError in module runeplate\\.exe at [0-9A-F]{8}\\.\\\\n${message//./\\.}$"
  [[ $text =~ $pattern ]] || e2e_fail "message box text \"$text\" is not the report of \"$message\""
  e2e_expect_exit 10 1
}

e2e_begin "font-$case"
e2e_start_screen
e2e_make_prefix
e2e_stage_app
font="$E2E_APP/a1bit.bmp"
case $case in
  missing)
    rm "$font"
    e2e_start_program "$E2E_APP"
    expect_report "File not found."
    ;;
  short)
    truncate -s 16383 "$font"
    e2e_start_program "$E2E_APP"
    expect_report "I/O error 131."
    ;;
  locked)
    holder_log="$E2E_DIR/holder.log"
    (cd "$E2E_APP" && exec wine "$RUNEPLATE_E2E_HELPER" hold a1bit.bmp 120) >"$holder_log" 2>&1 &
    e2e_track $!
    deadline=$(e2e_deadline 30)
    until grep -q '^held' "$holder_log"; do
      e2e_before "$deadline" || e2e_fail "the helper did not open the font file: $(cat "$holder_log")"
      sleep 0.1
    done
    e2e_log "font file held open without sharing"
    e2e_start_program "$E2E_APP"
    expect_report "I/O error 32."
    ;;
  readonly)
    e2e_immutable "$font"
    if (echo >>"$font") 2>/dev/null; then
      e2e_fail "the font file is still writable after chattr +i"
    fi
    e2e_start_program "$E2E_APP"
    e2e_wait_window 30
    e2e_wait_frame 30 readonly
    e2e_key Escape
    e2e_expect_exit 10 0
    ;;
  *)
    e2e_fail "unknown case $case"
    ;;
esac
