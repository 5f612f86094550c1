# Shell helpers for real-window tests: a private X server, waiting for a window, and
# clicks held across a frame. Source it; `stop_xsession` runs from the caller's trap.

# start_xvfb WIDTHxHEIGHT [XVFB OPTION...]: Xvfb on a display number it picks itself; sets
# DISPLAY. Waits up to 10 s: a loaded machine can be that slow to bring it up.
start_xvfb() {
  local numfile
  numfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp "${@:2}" 3>"$numfile" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 200); do
    [ -s "$numfile" ] && break
    sleep 0.05
  done
  export DISPLAY=":$(tr -d '\n' <"$numfile")"
  rm -f "$numfile"
  [ "$DISPLAY" != ":" ] || { echo "Xvfb did not start"; return 1; }
}

# stop_xsession [PID...]: ends the given programs (empty ones are skipped), then the X
# server, and waits for them, so nothing still writes into a folder being removed.
stop_xsession() {
  local pid
  for pid in "$@" "${xvfb_pid:-}"; do
    [ -n "$pid" ] || continue
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
}

# wait_window TITLE: prints the first mapped window with exactly that name, waiting up to
# 10 s (an unmapped one cannot be shot or clicked yet).
wait_window() {
  local win=""
  for _ in $(seq 100); do
    win=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true)
    [ -n "$win" ] && { echo "$win"; return 0; }
    sleep 0.1
  done
  return 1
}

# hold_click X Y [WINDOW]: the game only sees a press that lasts past a frame, as a
# person's does. With a window, X and Y are inside it; else they are on the screen.
hold_click() {
  if [ -n "${3:-}" ]; then
    xdotool mousemove --window "$3" "$1" "$2"
  else
    xdotool mousemove "$1" "$2"
  fi
  sleep 0.3
  xdotool mousedown 1
  sleep 0.25
  xdotool mouseup 1
}
