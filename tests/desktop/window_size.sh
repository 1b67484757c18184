#!/usr/bin/env bash
# Starts the program twice in a decorated window and closes it as a user
# does (Alt+F4 to the window manager): the size it stores when it goes must
# be the size it came with, frame and title bar included.
set -euo pipefail
program="$1"
for tool in Xvfb openbox xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed: skipped"; exit 77; }
done

work="$(mktemp -d)"
cleanup() {
  [ -n "${wm_pid:-}" ] && kill "$wm_pid" 2>/dev/null || true
  [ -n "${x_pid:-}" ] && kill "$x_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A program folder of its own: the executable, an empty results folder and
# one user, so that no dialog comes before the main window.
mkdir -p "$work/prog/Ergebnisse" "$work/prog/Lektionen" "$work/prog/Data"
cp "$program" "$work/prog/orbilo"
printf '[Geo]\nLanguage=1\nWidth=800\nHeight=600\n[Users]\n1=Anna\n' > "$work/prog/geo.ini"

exec 3> "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
x_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"
unset QT_QPA_PLATFORM
openbox >/dev/null 2>&1 &
wm_pid=$!
sleep 1

stored_size() {
  printf '%sx%s' "$(sed -n 's/^Width=//p' "$work/prog/geo.ini")" "$(sed -n 's/^Height=//p' "$work/prog/geo.ini")"
}

run_once() {
  "$work/prog/orbilo" >"$work/out.log" 2>&1 &
  local pid=$!
  local window
  window="$(xdotool search --sync --onlyvisible --name 'Orbilo' | head -n1)"
  sleep 1.5 # the window manager decorates and the program settles
  xdotool windowactivate --sync "$window" key --clearmodifiers alt+F4 || true
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
    echo "the program did not close on Alt+F4"
    exit 1
  fi
}

for round in 1 2; do
  run_once
  size="$(stored_size)"
  echo "after run $round the stored outer size is $size"
  if [ "$size" != "800x600" ]; then
    echo "the window came with an outer size of 800x600 and left with $size"
    cat "$work/out.log"
    exit 1
  fi
done
