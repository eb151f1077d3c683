#!/usr/bin/env bash
# program-test.sh SCENARIO PROGRAM MSGBOX WORKDIR [FONT]
#
# Runs the real program under Wine, on a virtual screen of its own (Xvfb picks
# a free display) and in a fresh Wine prefix under WORKDIR, from a folder that
# has or lacks the font file "a1bit.bmp" (FONT when it exists, else 16446 zero
# bytes).
#   missing-font  no font file: one "Application Error" box reading
#                 "Exception EInOutError in module runeplate.exe at XXXXXXXX."
#                 and "File not found."; after OK, exit code 1
#   escape        with a font file: Escape closes the program, exit code 0
# Every wait is bounded; every process started here is ended by its id, and
# the prefix's own Wine server with it.
set -u
if [ $# -lt 4 ]; then
  echo "usage: program-test.sh SCENARIO PROGRAM MSGBOX WORKDIR [FONT]" >&2
  exit 2
fi
scenario=$1
program=$2
msgbox=$3
work=$4
font=${5:-}

rm -rf "$work"
mkdir -p "$work/run"
export WINEPREFIX="$work/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml="

xvfb_pid=""
program_pid=""
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
  if [ -d "$WINEPREFIX" ]; then
    wineserver -k 2>/dev/null
    timeout 20 wineserver -w 2>/dev/null
  fi
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  # A prefix is some hundred megabytes; the logs stay.
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Polls until PID has ended or SECONDS have passed; 0 when it has ended.
wait_gone() {
  local pid=$1 deadline=$((SECONDS + $2))
  while kill -0 "$pid" 2>/dev/null; do
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.2
  done
  return 0
}

# A display of our own, numbered by Xvfb and written once it is ready.
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$work/display")"

start=$SECONDS
timeout 120 wineboot --init >"$work/wineboot.log" 2>&1 || fail "wineboot failed"
echo "Wine prefix ready in $((SECONDS - start)) s on display $DISPLAY"

case $scenario in
  missing-font) ;;
  escape)
    if [ -n "$font" ] && [ -f "$font" ]; then
      cp "$font" "$work/run/a1bit.bmp"
    else
      head -c 16446 /dev/zero >"$work/run/a1bit.bmp"
    fi
    ;;
  *) fail "unknown scenario $scenario" ;;
esac

cd "$work/run"
wine "$program" >"$work/program.log" 2>&1 &
program_pid=$!
start=$SECONDS

case $scenario in
  missing-font)
    timeout 60 wine "$msgbox" --timeout 40 >"$work/msgbox.out" 2>"$work/msgbox.err"
    msgbox_code=$?
    cat "$work/msgbox.out"
    [ $msgbox_code -eq 0 ] || fail "runeplate-msgbox ended with $msgbox_code: $(cat "$work/msgbox.err")"
    title=$(sed -n 1p "$work/msgbox.out" | tr -d '\r')
    text=$(sed -n 2p "$work/msgbox.out" | tr -d '\r')
    [ "$title" = "TITLE: Application Error" ] || fail "title line: $title"
    # The line feed comes escaped as the two characters \n.
    [[ $text =~ ^TEXT:\ Exception\ EInOutError\ in\ module\ runeplate\.exe\ at\ [0-9A-F]{8}\.\\nFile\ not\ found\.$ ]] ||
      fail "text line: $text"
    wait_gone "$program_pid" 30 || fail "the program did not end after OK"
    wait "$program_pid"
    code=$?
    program_pid=""
    echo "box read and closed, program ended with exit code $code after $((SECONDS - start)) s"
    [ $code -eq 1 ] || fail "exit code $code, expected 1"
    ;;
  escape)
    window=""
    for _ in $(seq 150); do
      window=$(xdotool search --name '^Dx Runeplate$' 2>/dev/null | head -n 1)
      [ -n "$window" ] && break
      kill -0 "$program_pid" 2>/dev/null || break
      sleep 0.2
    done
    [ -n "$window" ] || fail "no window titled Dx Runeplate"
    echo "window up after $((SECONDS - start)) s"
    # Let it draw a while, then press Escape until it has gone.
    sleep 2
    pressed=$SECONDS
    while kill -0 "$program_pid" 2>/dev/null; do
      [ $((SECONDS - pressed)) -ge 20 ] && break
      xdotool key Escape
      sleep 0.5
    done
    if ! wait_gone "$program_pid" 1; then
      timeout 10 wine "$msgbox" --timeout 2 >&2
      fail "Escape did not close the program"
    fi
    wait "$program_pid"
    code=$?
    program_pid=""
    echo "closed $((SECONDS - pressed)) s after the first Escape, exit code $code"
    [ $code -eq 0 ] || fail "exit code $code, expected 0"
    ;;
esac
echo PASS
