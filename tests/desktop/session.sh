#!/usr/bin/env bash
# Sourced by the end-to-end tests: a virtual screen with a window manager, a
# program folder of the test's own and helpers to wait for windows and files.
# A test that lacks the tools exits with 77, which CTest counts as skipped.
set -euo pipefail

for tool in Xvfb openbox xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed: skipped"; exit 77; }
done

work="$(mktemp -d)"
prog="$work/prog"
session_cleanup() {
  [ -n "${program_pid:-}" ] && kill "$program_pid" 2>/dev/null || true
  [ -n "${wm_pid:-}" ] && kill "$wm_pid" 2>/dev/null || true
  [ -n "${x_pid:-}" ] && kill "$x_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap session_cleanup EXIT

# Also called inside $(...), so everything goes to stderr.
fail() {
  {
    echo "FAILED: $*"
    [ -f "$work/out.log" ] && { echo "--- program output"; cat "$work/out.log"; }
    [ -f "$prog/geo.ini" ] && { echo "--- geo.ini"; cat "$prog/geo.ini"; }
  } >&2
  exit 1
}

# A portable program folder: the executable beside what ships with it. With
# "bare" only the executable and empty folders (no lessons to find).
make_program_folder() {
  local program="$1" contents="${2:-shipped}"
  local built
  built="$(dirname "$program")"
  mkdir -p "$prog/Ergebnisse"
  cp "$program" "$prog/orbilo"
  if [ "$contents" = bare ]; then
    mkdir -p "$prog/Lektionen" "$prog/Data"
  else
    cp -r "$built/Lektionen" "$built/Data" "$prog/"
    cp "$built/geo.hlp" "$prog/"
  fi
}

start_desktop() {
  exec 3> "$work/display"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  x_pid=$!
  for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || fail "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$work/display")"
  unset QT_QPA_PLATFORM
  openbox >/dev/null 2>&1 &
  wm_pid=$!
  sleep 1
}

start_program() {
  "$prog/orbilo" "$@" >"$work/out.log" 2>&1 &
  program_pid=$!
}

# Prints the id of the visible window whose title matches, waiting up to 20 s.
wait_window() {
  local title="$1" window=""
  for _ in $(seq 200); do
    window="$(xdotool search --onlyvisible --name "$title" 2>/dev/null | tail -n1 || true)"
    [ -n "$window" ] && { echo "$window"; return 0; }
    kill -0 "$program_pid" 2>/dev/null || fail "the program ended while waiting for \"$title\""
    sleep 0.1
  done
  fail "no window \"$title\" appeared"
}

# Waits until the window manager has framed and placed the window: its
# geometry reads the same three times in a row (a loaded machine takes long).
wait_settled() {
  local last="" same=0 now
  for _ in $(seq 100); do
    now="$(xdotool getwindowgeometry "$1" 2>/dev/null || true)"
    if [ -n "$now" ] && [ "$now" = "$last" ]; then
      same=$((same + 1))
      [ "$same" -ge 2 ] && return 0
    else
      same=0
    fi
    last="$now"
    sleep 0.3
  done
}

# Types into the active window as a user does, with a short pause so the
# program handles each step before the next.
keys() {
  xdotool key --clearmodifiers --delay 60 "$@"
  sleep 0.4
}
type_text() {
  xdotool type --clearmodifiers --delay 40 "$1"
  sleep 0.3
}
activate() {
  xdotool windowactivate --sync "$1" >/dev/null 2>&1 || true
  sleep 0.5
}

wait_program_end() {
  for _ in $(seq 100); do kill -0 "$program_pid" 2>/dev/null || { program_pid=""; return 0; }; sleep 0.1; done
  fail "the program did not end"
}

# Closes the program's window as a user does (Alt+F4 to the window manager).
close_window() {
  activate "$1"
  xdotool key --clearmodifiers alt+F4 || true
  wait_program_end
}

ini_value() { # section key
  awk -v s="[$1]" -v k="$2" -F= 'tolower($0)==tolower(s){in_s=1;next} /^\[/{in_s=0} in_s && $1==k{sub(/^[^=]*=/,"");print;exit}' "$prog/geo.ini" | tr -d '\r'
}
