# The virtual screen and the Wine prefix that every Windows program of this
# project runs in: the program under scripts/run, the tests (through
# cmake/wine-run and tests/e2e), the frame-rate benchmark and the screenshot
# checker's test. One way to start the X server, one way to boot or copy a
# prefix, one place that knows Wine's settings. Source it from bash.
#
# It lives under scripts/ because its users span scripts/, cmake/, tests/ and
# bench/: scripts/run and the CMake emulator must not depend on the test tree.
#
# Every process started here is remembered by its id and ended by its id:
# screen_stop ends the X server, wine_stop the server of one prefix (which
# takes every Windows process started there with it); wine_screen_cleanup
# does both for an EXIT trap. A function that cannot do its job prints one
# line on stderr and returns 1.

SCREEN_PID=""
WINE_KEPT_PREFIXES=()

# screen_available: whether a virtual screen can be had here at all.
screen_available() {
  command -v Xvfb >/dev/null 2>&1
}

# screen_start DIR: an 800 x 600 x 24 virtual screen on a display number
# that the X server picks itself among the free ones (so runs side by side
# never collide), written to DIR/display once the server is ready; its log
# is DIR/xvfb.log. Exports DISPLAY and remembers the server in SCREEN_PID.
screen_start() {
  local dir=$1 numberFile i
  numberFile="$dir/display"
  mkdir -p "$dir" && rm -f "$numberFile" || return 1
  screen_available || { echo "screen: Xvfb is not installed" >&2; return 1; }
  Xvfb -displayfd 9 -screen 0 800x600x24 -nolisten tcp 9>"$numberFile" >"$dir/xvfb.log" 2>&1 &
  SCREEN_PID=$!
  for i in $(seq 300); do
    [ -s "$numberFile" ] && break
    if ! kill -0 "$SCREEN_PID" 2>/dev/null; then
      wait "$SCREEN_PID" 2>/dev/null
      SCREEN_PID=""
      echo "screen: Xvfb did not start: $(tail -n 1 "$dir/xvfb.log")" >&2
      return 1
    fi
    sleep 0.05
  done
  if [ ! -s "$numberFile" ]; then
    screen_stop
    echo "screen: Xvfb gave no display number within 15 s" >&2
    return 1
  fi
  export DISPLAY=":$(tr -d '[:space:]' <"$numberFile")"
  unset XAUTHORITY
}

# screen_stop: ends the screen that screen_start started: politely, so that
# the server removes its lock file and socket, and for good two seconds
# later.
screen_stop() {
  [ -n "$SCREEN_PID" ] || return 0
  screen_kill_pid "$SCREEN_PID"
  SCREEN_PID=""
}

# screen_kill_pid PID: ends one process started by the caller, by its id.
screen_kill_pid() {
  local pid=$1 i
  [ -n "$pid" ] || return 0
  if kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null
    for i in $(seq 20); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null
  fi
  wait "$pid" 2>/dev/null
  return 0
}

# wine_tmpdir PREFIX: the temporary folder of PREFIX's Wine server, beside
# the prefix. Wine keeps its server's socket and lock in a folder under
# TMPDIR that outlives the server, so the default /tmp collects one empty
# folder per prefix; and a client finds its server only under the same
# TMPDIR, so the folder must follow from the prefix alone.
wine_tmpdir() {
  echo "$1-tmp"
}

# wine_use PREFIX: exports the settings of a Wine run in PREFIX: 64-bit,
# quiet unless WINEDEBUG says otherwise, no attempt to install Mono or Gecko
# (there is no network), and the prefix's own temporary folder.
wine_use() {
  export WINEPREFIX=$1 WINEARCH=win64
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree=;mshtml=}
  TMPDIR=$(wine_tmpdir "$1")
  export TMPDIR
  mkdir -p "$TMPDIR"
}

# wine_boot PREFIX: boots PREFIX unless it is booted already, under a lock
# (parallel first starts of one prefix collide), without a display: nothing
# in a prefix depends on one. Wine's output goes to PREFIX.log.
wine_boot() {
  local prefix=$1
  [ -f "$prefix/system.reg" ] && return 0
  mkdir -p "$(dirname "$prefix")" || return 1
  (
    flock 8
    if [ ! -f "$prefix/system.reg" ]; then
      # Whatever an interrupted boot left is no prefix.
      rm -rf "$prefix"
      wine_use "$prefix"
      env -u DISPLAY timeout 300 wineboot --init >"$prefix.log" 2>&1
      timeout 120 wineserver -w
    fi
    [ -f "$prefix/system.reg" ]
  ) 8>"$prefix.lock" || {
    echo "wine: cannot boot the prefix $prefix: $(tail -n 1 "$prefix.log" 2>/dev/null)" >&2
    return 1
  }
}

# wine_clone TEMPLATE COPY: a fresh prefix from a booted one, in a moment
# rather than the many seconds of a boot. Its files are hard links (Wine only
# reads them), except the registry files, which Wine rewrites in place and
# which therefore get copies of their own.
wine_clone() {
  local template=$1 copy=$2 f
  rm -rf "$copy" "$(wine_tmpdir "$copy")"
  cp -al "$template" "$copy" || { echo "wine: cannot copy the prefix $template" >&2; return 1; }
  for f in system.reg user.reg userdef.reg .update-timestamp; do
    if [ -e "$template/$f" ]; then
      cp --remove-destination -p "$template/$f" "$copy/$f" || return 1
    fi
  done
  # The name of the template's server folder is not the copy's.
  rm -f "$copy/wineserver"
}

# wine_keep_server PREFIX: starts PREFIX's server and Wine's own processes
# now and keeps them until wine_stop: every Wine start then takes about a
# second instead of several. Wine's processes (services, the desktop) live
# as long as the server and keep the output of the program that started
# them open: started here, they hold /dev/null, not the pipe of someone who
# reads a program's output to its end.
wine_keep_server() {
  (
    wine_use "$1"
    wineserver -p 2>/dev/null &&
      timeout 120 wine cmd.exe /c exit 0 </dev/null >/dev/null 2>&1
  ) || {
    echo "wine: cannot start the server of $1" >&2
    return 1
  }
  WINE_KEPT_PREFIXES+=("$1")
}

# wine_stop PREFIX: ends PREFIX's server, and with it every Windows process
# started there, and waits until it has gone.
wine_stop() {
  local prefix=$1
  [ -d "$prefix" ] || return 0
  WINEPREFIX=$prefix TMPDIR=$(wine_tmpdir "$prefix") timeout 20 wineserver -k 2>/dev/null
  WINEPREFIX=$prefix TMPDIR=$(wine_tmpdir "$prefix") timeout 20 wineserver -w 2>/dev/null
  return 0
}

# wine_remove PREFIX: a prefix that was only for one run goes, with its
# temporary folder (a prefix is some hundred megabytes).
wine_remove() {
  wine_stop "$1"
  rm -rf "$1" "$(wine_tmpdir "$1")"
}

# wine_screen_cleanup: ends the servers kept with wine_keep_server, then the
# screen. For an EXIT trap.
wine_screen_cleanup() {
  local prefix
  for prefix in "${WINE_KEPT_PREFIXES[@]}"; do
    wine_stop "$prefix"
  done
  WINE_KEPT_PREFIXES=()
  screen_stop
}
