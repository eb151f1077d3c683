# Shared by the end-to-end scenarios, scripts/run and the frame-rate
# benchmark's runner: a virtual screen, a Wine prefix, the program started
# from a folder of its own, screenshots, keys, and bounded waits. Source it
# from bash.
#
# Settings, from the environment (CTest sets them; scripts/run and the
# benchmark's runner read them from the Windows build's e2e-settings.sh):
#   RUNEPLATE_BIN          folder holding runeplate.exe and a1bit.bmp
#   RUNEPLATE_SHOT         the native runeplate-shot
#   RUNEPLATE_MSGBOX       runeplate-msgbox.exe (reads and closes a message box)
#   RUNEPLATE_E2E_HELPER   runeplate-e2e-helper.exe
#   RUNEPLATE_E2E_WORK     where scenarios keep their files
#   RUNEPLATE_E2E_TEMPLATE a booted Wine prefix that scenarios copy (made on
#                          first use; default: prefix-template beside WORK)
#
# Every process a scenario starts is ended by its id when the scenario ends,
# however it ends: the Wine server of the scenario's own prefix (which takes
# every Windows process started there with it), the X server, and anything
# registered with e2e_track. The screen and the prefixes come from
# scripts/lib/wine-screen.sh.

set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/wine-screen.sh"

E2E_TITLE="Dx Runeplate"
E2E_WINDOW_CLASS="__DX_RUNEPLATE__"

E2E_NAME=""
E2E_DIR=""
E2E_PREFIX=""
E2E_PID=""
E2E_EXIT=""
E2E_APP=""
E2E_FONT=""
E2E_WATCH_LOG=""
E2E_REPORT=""
E2E_FRAME=""
E2E_COUNTER=""
E2E_TRACKED=()
E2E_IMMUTABLE=()
E2E_START=$(date +%s.%N)
E2E_SUCCESS_MESSAGE=""

# Elapsed seconds since the scenario began, for the log.
e2e_clock() {
  awk -v s="$E2E_START" -v n="$(date +%s.%N)" 'BEGIN { printf "%6.1f", n - s }'
}

e2e_log() {
  echo "[$(e2e_clock)] $*"
}

e2e_fail() {
  echo "[$(e2e_clock)] FAIL: $*" >&2
  exit 1
}

# Seconds as a fraction, for bounded polling: e2e_deadline 10 -> epoch value.
e2e_deadline() {
  awk -v n="$(date +%s.%N)" -v d="$1" 'BEGIN { printf "%.3f", n + d }'
}

e2e_before() {
  awk -v n="$(date +%s.%N)" -v d="$1" 'BEGIN { exit !(n < d) }'
}

# e2e_begin NAME [MESSAGE]: a fresh folder for the scenario and the clean-up
# traps. MESSAGE is logged when the script ends well ("PASS: NAME" when not
# given; nothing when empty).
e2e_begin() {
  E2E_NAME=$1
  : "${RUNEPLATE_E2E_WORK:?RUNEPLATE_E2E_WORK is not set}"
  # Wine wants absolute paths, and scenarios change folders.
  RUNEPLATE_E2E_WORK=$(realpath -m "$RUNEPLATE_E2E_WORK")
  [ -z "${RUNEPLATE_E2E_TEMPLATE:-}" ] || RUNEPLATE_E2E_TEMPLATE=$(realpath -m "$RUNEPLATE_E2E_TEMPLATE")
  E2E_DIR="$RUNEPLATE_E2E_WORK/$E2E_NAME"
  E2E_SUCCESS_MESSAGE=${2-"PASS: $E2E_NAME"}
  if [ -d "$E2E_DIR/app" ]; then
    # A scenario that was killed outright may have left its font immutable.
    find "$E2E_DIR/app" -type f -exec chattr -i {} + 2>/dev/null
  fi
  rm -rf "$E2E_DIR"
  mkdir -p "$E2E_DIR"
  trap e2e_cleanup EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  e2e_log "scenario $E2E_NAME in $E2E_DIR"
}

# Ends every process the scenario started and removes its prefix; keeps the
# screenshots and logs for a look after a failure.
e2e_cleanup() {
  local status=$?
  trap - EXIT INT TERM
  local file pid
  for file in "${E2E_IMMUTABLE[@]}"; do
    chattr -i "$file" 2>/dev/null
  done
  [ -z "$E2E_PREFIX" ] || wine_stop "$E2E_PREFIX"
  for pid in $E2E_PID "${E2E_TRACKED[@]}"; do
    screen_kill_pid "$pid"
  done
  screen_stop
  [ -z "$E2E_PREFIX" ] || wine_remove "$E2E_PREFIX"
  if [ "$status" -eq 0 ]; then
    [ -z "$E2E_SUCCESS_MESSAGE" ] || e2e_log "$E2E_SUCCESS_MESSAGE"
  else
    e2e_log "$E2E_NAME failed (status $status); files kept in $E2E_DIR"
  fi
  exit "$status"
}

# e2e_track PID: end this process too when the scenario ends.
e2e_track() {
  E2E_TRACKED+=("$1")
}

# A virtual screen for the scenario; exports DISPLAY.
e2e_start_screen() {
  screen_start "$E2E_DIR" || e2e_fail "no virtual screen"
  e2e_log "screen $DISPLAY (Xvfb pid $SCREEN_PID)"
}

# The booted prefix that scenarios copy, made once per build folder.
e2e_template_prefix() {
  local template=${RUNEPLATE_E2E_TEMPLATE:-$(dirname "$RUNEPLATE_E2E_WORK")/prefix-template}
  if [ ! -f "$template/system.reg" ]; then
    echo "[$(e2e_clock)] booting the template Wine prefix $template" >&2
  fi
  wine_boot "$template" || e2e_fail "cannot boot the template Wine prefix $template"
  echo "$template"
}

# A fresh prefix for the scenario, copied from the template, with its
# server started now and kept until the clean-up: every Wine start of the
# scenario then takes about a second. Exports WINEPREFIX and Wine's settings.
e2e_make_prefix() {
  local template
  template=$(e2e_template_prefix) || exit 1
  E2E_PREFIX="$E2E_DIR/prefix"
  wine_clone "$template" "$E2E_PREFIX" || e2e_fail "cannot copy the template prefix"
  wine_use "$E2E_PREFIX"
  wine_keep_server "$E2E_PREFIX" || e2e_fail "no Wine server for $E2E_PREFIX"
  e2e_log "Wine prefix $E2E_PREFIX"
}

# e2e_stage_app [FROM]: copies runeplate.exe and a1bit.bmp from FROM (default
# RUNEPLATE_BIN) into the scenario's app folder, which scenarios may change.
e2e_stage_app() {
  local from=${1:-${RUNEPLATE_BIN:?RUNEPLATE_BIN is not set}}
  [ -f "$from/runeplate.exe" ] || e2e_fail "no runeplate.exe in $from"
  [ -f "$from/a1bit.bmp" ] || e2e_fail "no a1bit.bmp in $from"
  mkdir -p "$E2E_DIR/app"
  cp "$from/runeplate.exe" "$from/a1bit.bmp" "$E2E_DIR/app/"
  E2E_APP="$E2E_DIR/app"
}

# e2e_immutable FILE: make FILE unwritable even for root until the clean-up.
e2e_immutable() {
  chattr +i "$1" || e2e_fail "chattr +i $1 failed (the file system must support it)"
  E2E_IMMUTABLE+=("$1")
}

# e2e_start_program DIR: runs DIR/runeplate.exe with DIR as its current
# folder. E2E_PID is the process of the program itself (Wine keeps the id it
# is started with), so /proc/$E2E_PID describes runeplate.exe. When the
# helper is at hand, a watcher inside Wine also waits for the program, to
# learn its Windows exit code (see e2e_wait_exit).
e2e_start_program() {
  local dir=$1 deadline
  (cd "$dir" && exec wine runeplate.exe) >"$E2E_DIR/program.log" 2>&1 &
  E2E_PID=$!
  E2E_EXIT=""
  E2E_FONT="$dir/a1bit.bmp"
  E2E_WATCH_LOG=""
  e2e_log "started runeplate.exe from $dir (pid $E2E_PID)"
  if [ -n "${RUNEPLATE_E2E_HELPER:-}" ] && [ -f "$RUNEPLATE_E2E_HELPER" ]; then
    E2E_WATCH_LOG="$E2E_DIR/watch.log"
    (exec wine "$RUNEPLATE_E2E_HELPER" watch 30) >"$E2E_WATCH_LOG" 2>&1 &
    e2e_track $!
    deadline=$(e2e_deadline 40)
    until grep -q '^watching' "$E2E_WATCH_LOG"; do
      grep -q '^no runeplate.exe' "$E2E_WATCH_LOG" && e2e_fail "runeplate.exe did not start: $(tail -n 5 "$E2E_DIR/program.log")"
      e2e_before "$deadline" || e2e_fail "the exit-code watcher did not find runeplate.exe: $(cat "$E2E_WATCH_LOG")"
      sleep 0.1
    done
  fi
}

# e2e_wine_run TIMEOUT PROGRAM ARGS...: runs a Windows helper in the
# scenario's prefix, bounded; its output goes to stdout.
e2e_wine_run() {
  local limit=$1
  shift
  timeout --kill-after=5 "$limit" wine "$@"
}

e2e_program_running() {
  [ -n "$E2E_PID" ] && kill -0 "$E2E_PID" 2>/dev/null
}

# e2e_wait_exit SECONDS: waits for the program to end; E2E_EXIT is its exit
# code. Fails when it is still running after SECONDS. The exit code is the
# Windows one that the watcher read: Wine kills (SIGKILL) the Unix side of a
# process whose teardown takes over a second after its last thread ended,
# which a loaded machine sometimes brings about, and the Unix status is then
# 137 whatever the program's code was.
e2e_wait_exit() {
  local deadline status windows
  deadline=$(e2e_deadline "$1")
  while e2e_program_running; do
    e2e_before "$deadline" || e2e_fail "runeplate.exe still running $1 s later"
    sleep 0.1
  done
  wait "$E2E_PID"
  status=$?
  E2E_PID=""
  E2E_EXIT=$status
  if [ -n "$E2E_WATCH_LOG" ]; then
    deadline=$(e2e_deadline 10)
    until windows=$(sed -n 's/^exit code \([0-9]*\).*/\1/p' "$E2E_WATCH_LOG") && [ -n "$windows" ]; do
      e2e_before "$deadline" || e2e_fail "the watcher did not report the exit code (Unix status $status): $(cat "$E2E_WATCH_LOG")"
      sleep 0.1
    done
    if [ "$status" != "$windows" ]; then
      [ "$status" = 137 ] || e2e_fail "Unix status $status but Windows exit code $windows"
      e2e_log "Wine ended the exiting process with SIGKILL; its Windows exit code is $windows"
    fi
    E2E_EXIT=$windows
  fi
  e2e_log "runeplate.exe ended with exit code $E2E_EXIT"
}

# e2e_expect_exit SECONDS CODE
e2e_expect_exit() {
  e2e_wait_exit "$1"
  [ "$E2E_EXIT" = "$2" ] || e2e_fail "exit code $E2E_EXIT, expected $2"
}

# e2e_wait_window SECONDS: waits until the program's window is on the screen.
e2e_wait_window() {
  local deadline
  deadline=$(e2e_deadline "$1")
  until xdotool search --name "^$E2E_TITLE\$" >/dev/null 2>&1; do
    e2e_program_running || e2e_fail "runeplate.exe ended before its window appeared: $(tail -n 5 "$E2E_DIR/program.log")"
    e2e_before "$deadline" || e2e_fail "no window titled \"$E2E_TITLE\" within $1 s"
    sleep 0.1
  done
}

# e2e_shot NAME: the whole screen as $E2E_DIR/NAME.xwd; prints its path.
e2e_shot() {
  local file="$E2E_DIR/$1.xwd"
  # xwd walks the window tree, and a window that Wine creates or destroys
  # meanwhile makes it fail with BadWindow: try again a few times.
  local attempt
  for attempt in 1 2 3 4 5; do
    xwd -root -silent >"$file" 2>"$E2E_DIR/xwd.log" && break
    [ "$attempt" -eq 5 ] && e2e_fail "xwd could not capture the screen: $(head -n 1 "$E2E_DIR/xwd.log")"
    sleep 0.2
  done
  echo "$file"
}

e2e_shot_tool() {
  local tool="${RUNEPLATE_SHOT:?RUNEPLATE_SHOT is not set}"
  [ -x "$tool" ] || e2e_fail "no $tool: build the Windows build's target runeplate_native_shot"
  echo "$tool"
}

# e2e_check SHOT [runeplate-shot options]: compares a screenshot with the
# reference render; prints the checker's report, sets E2E_FRAME and
# E2E_COUNTER, and returns the checker's status.
e2e_check() {
  local shot=$1 tool report status
  shift
  tool=$(e2e_shot_tool) || exit 1
  local font=()
  [ -f "$E2E_FONT" ] && font=(--font "$E2E_FONT")
  report=$("$tool" check "${font[@]}" "$@" "$shot")
  status=$?
  E2E_REPORT=$report
  E2E_FRAME=$(sed -n 's/^frame=\([^ ]*\) .*/\1/p' <<<"$report" | head -n 1)
  E2E_COUNTER=$(sed -n 's/.* counter=\([^ ]*\) .*/\1/p' <<<"$report" | head -n 1)
  return $status
}

# e2e_wait_frame SECONDS NAME [NOT]: takes screenshots until one matches a
# rendered frame exactly (and, with NOT, shows a frame other than NOT); the
# matching one is $E2E_DIR/NAME.xwd. On failure the last attempt is kept with
# a PNG and a diff beside it.
e2e_wait_frame() {
  local limit=$1 name=$2 other=${3:-} deadline shot tool
  deadline=$(e2e_deadline "$limit")
  while :; do
    if ! e2e_program_running; then
      wait "$E2E_PID"
      e2e_fail "runeplate.exe ended with exit code $? instead of drawing: $(tail -n 5 "$E2E_DIR/program.log")"
    fi
    shot=$(e2e_shot "$name") || exit 1
    if e2e_check "$shot" && [ "$E2E_FRAME" != "$other" ]; then
      e2e_log "$name: $E2E_REPORT"
      return 0
    fi
    if ! e2e_before "$deadline"; then
      tool=$(e2e_shot_tool)
      "$tool" topng "$shot" "$E2E_DIR/$name.png" 2>/dev/null
      e2e_check "$shot" --diff "$E2E_DIR/$name-diff.png" >/dev/null 2>&1
      echo "$E2E_REPORT" >&2
      if [ -n "$other" ] && [ "$E2E_FRAME" = "$other" ]; then
        e2e_fail "the screen still shows frame $other after $limit s: the picture is not being redrawn"
      fi
      e2e_fail "no exact frame on the screen within $limit s (last shot: $E2E_DIR/$name.png)"
    fi
    sleep 0.3
  done
}

# e2e_key KEY: presses and releases KEY on the X display (xdotool key names).
e2e_key() {
  xdotool key "$1" || e2e_fail "xdotool could not press $1"
}

# VmRSS of the program's process in KiB.
e2e_rss_kib() {
  awk '/^VmRSS:/ { print $2 }' "/proc/$E2E_PID/status" 2>/dev/null
}

# e2e_frame_checks DIR: the frame scenario on the program in DIR. Two exact
# frames a moment apart (different frame numbers), a frame-rate counter in
# at least one of them, and Escape ending the program with exit code 0.
e2e_frame_checks() {
  local dir=$1 first second geometry
  e2e_start_program "$dir"
  e2e_wait_window 30
  # Wine may still be placing (or re-creating) the window when it first
  # appears, so its geometry gets a few seconds to settle.
  local deadline
  deadline=$(e2e_deadline 10)
  while :; do
    geometry=$(xdotool search --name "^$E2E_TITLE\$" getwindowgeometry 2>/dev/null | tr -s ' \n' ' ')
    [[ $geometry == *"Position: 0,0 "* && $geometry == *"Geometry: 800x600"* ]] && break
    e2e_before "$deadline" || e2e_fail "the window is not 800 x 600 at 0,0: $geometry"
    sleep 0.2
  done
  e2e_log "window: $geometry"
  e2e_wait_frame 30 frame1
  first=$E2E_FRAME
  local counters=$E2E_COUNTER
  e2e_wait_frame 30 frame2 "$first"
  second=$E2E_FRAME
  counters="$counters $E2E_COUNTER"
  [[ $counters =~ [0-9] ]] || e2e_fail "no frame-rate counter on either screenshot (counter=$counters)"
  e2e_log "frames $first and $second; counters $counters"
  e2e_key Escape
  e2e_expect_exit 10 0
}
