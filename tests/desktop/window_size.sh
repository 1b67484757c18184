#!/usr/bin/env bash
# Starts the program twice in a decorated window and closes it as a user
# does (Alt+F4 to the window manager): the size it stores when it goes must
# be the size it came with, frame and title bar included.
source "$(dirname "${BASH_SOURCE[0]}")/session.sh"
make_program_folder "$1" bare
# One user, so that no dialog comes before the main window.
printf '[Geo]\nLanguage=1\nWidth=800\nHeight=600\n[Users]\n1=Anna\n' > "$prog/geo.ini"
start_desktop

for round in 1 2; do
  start_program
  window="$(wait_window 'Orbilo')"
  wait_settled "$window"
  close_window "$window"
  size="$(ini_value Geo Width)x$(ini_value Geo Height)"
  echo "after run $round the stored outer size is $size"
  [ "$size" = "800x600" ] || fail "the window came with an outer size of 800x600 and left with $size"
done
