#!/usr/bin/env bash
# The real game with a cut-off title.jpg: a message box of its own, titled with the file's
# name, shows the report; the same line goes to standard error and the program ends with
# status 1 without a crash. Where the box cannot show (an X server without the fonts it
# needs), a plain message window shows instead and standard error says why; without that
# too, standard error says why not.
# Usage: bad_pictures_window_test.sh BIN_DIR
set -euo pipefail
bin=$1
work=$(mktemp -d "/tmp/brackle bad media XXXXXX")
source "$(dirname "$0")/../../support/xsession.sh"
game=""
cleanup() {
  # While the report is up the game leaves a close request waiting: end it for good.
  [ -z "$game" ] || kill -9 "$game" 2>/dev/null || true
  stop_xsession
  rm -rf "$work"
}
trap cleanup EXIT
cp -r "$bin"/. "$work/"
rm -f "$work/clear.sav"
head -c 20000 "$bin/title.jpg" >"$work/title.jpg"
fail() {
  cat "$work/stderr.txt"
  echo "$1"
  exit 1
}

# named_window NAME: the top-level window with exactly that name. The tree is read because
# xdotool cannot read the title encoding SDL gives its box.
named_window() {
  local id
  id=$(xwininfo -root -children | grep -F " \"$1\": (" | awk '{print $1}' | head -1)
  [ -n "$id" ] && echo "$id"
}
# top_window NAME: that window, once there is one.
top_window() {
  wait_until named_window "$1" >/dev/null && named_window "$1"
}

# drawn WINDOW: the window shows more than one colour.
drawn() {
  import -window "$1" "$work/report.png"
  [ "$(identify -format %k "$work/report.png")" -gt 1 ]
}

# size WINDOW: its width x height.
size() {
  xwininfo -id "$1" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}'
}

# start_game [ENV...]: the game on the current X server, its standard error kept.
start_game() {
  env SDL_AUDIODRIVER=dummy "$@" "$work/brackle" 2>"$work/stderr.txt" &
  game=$!
}

# wait_end: waits for the game to end; its exit status in `status`.
wait_end() {
  wait_until ended "$game" || return 1
  status=0
  wait "$game" || status=$?
  game=""
}

# check_report: the report window names the file, stands apart from the game window,
# shows something, and the game ends with status 1 once it is answered.
check_report() {
  local report main
  report=$(top_window "Skelmora: title.jpg") || fail "no window titled with the file's name"
  main=$(top_window "Skelmora") || fail "no game window"
  [ "$report" != "$main" ] || fail "the report is the game window"
  [ "$(size "$report")" != "$(size "$main")" ] || fail "the report has the game window's size"
  wait_until drawn "$report" || fail "the report window is blank"
  kill -0 "$game" 2>/dev/null || fail "the game ended before the report was answered"
  # xmessage is gone before the key is released: that error is no concern here.
  xdotool key --window "$report" Return 2>/dev/null || true
  wait_end || fail "the game still runs after the report was answered"
  [ "$status" = "1" ] || fail "exit status $status, expected 1"
  grep -q "run-time error: .*/title.jpg: " "$work/stderr.txt" || fail "no report line"
}

# The message box of the window library.
start_xvfb 1024x768
start_game
check_report
! grep -q "could not be shown" "$work/stderr.txt" || fail "the message box did not show"
stop_xsession

# An X server with nothing but its built-in font: the plain message window.
start_xvfb 1024x768 -fp built-ins
start_game
check_report
grep -q "the message box could not be shown: ." "$work/stderr.txt" || fail "no reason given"

# Nor a program for the plain window: standard error says so, and the game still ends.
start_game PATH=/nonexistent
wait_end || fail "the game waits with nothing shown"
[ "$status" = "1" ] || fail "exit status $status, expected 1"
grep -q "nor could a plain message window: ." "$work/stderr.txt" || fail "no reason given"

[ ! -e "$work/clear.sav" ] || fail "clear.sav was written"
echo "cut-off title.jpg reported in a window of its own, exit status 1"
