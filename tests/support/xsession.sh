# Shell helpers for real-window tests: a private X server, and waits with a deadline for what
# a test needs to see. Source it; `stop_xsession` runs from the caller's trap.

# How long any wait may take, in seconds: a busy machine can be this slow.
patience=${XSESSION_PATIENCE:-30}

# wait_until COMMAND...: runs the command until it succeeds; false after $patience seconds.
wait_until() {
  local end=$((SECONDS + patience))
  until "$@"; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.05
  done
}

# start_xvfb WIDTHxHEIGHT [XVFB OPTION...]: Xvfb on a display number it picks itself; sets
# DISPLAY. It does not reset when its last client goes: a program connecting just then would
# be refused.
start_xvfb() {
  local numfile
  numfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp -noreset "${@:2}" 3>"$numfile" \
    2>/dev/null &
  xvfb_pid=$!
  wait_until test -s "$numfile"
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

# mapped_window TITLE: prints the first mapped window with exactly that name.
mapped_window() {
  local win
  win=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true)
  [ -n "$win" ] && echo "$win"
}

# wait_window TITLE: prints the first mapped window with exactly that name, once there is one
# (an unmapped one cannot be shot or clicked yet).
wait_window() {
  wait_until mapped_window "$1" >/dev/null && mapped_window "$1"
}

# shows_picture WINDOW: the window shows a picture, not a plain fill.
shows_picture() {
  [ "$(import -window "$1" -format %k info: 2>/dev/null || echo 0)" -gt 100 ]
}

# ended PID: the process has ended (it may not be reaped yet).
ended() {
  ! kill -0 "$1" 2>/dev/null || grep -q '^State:.*Z' "/proc/$1/status" 2>/dev/null
}
