#!/usr/bin/env bash
# A family's first day with the program, typed as a user types: the first
# start asks for the language and a name, a short test on a shipped picture
# lesson is answered in part and left, and with a second user in the list the
# next start asks who is learning.
source "$(dirname "${BASH_SOURCE[0]}")/session.sh"
make_program_folder "$1"
start_desktop

echo "first start: language and name"
start_program
activate "$(wait_window 'Orbilo 3.0')"
# The name field has the focus; the language list is the field before it.
keys shift+Tab Down Tab
type_text "Anna"
keys Return
main="$(wait_window 'Orbilo 3.0 – Anna')"
[ "$(ini_value Geo Language)" = 2 ] || fail "the chosen language (new spelling) was not stored"
[ "$(ini_value Users 1)" = Anna ] || fail "the name was not stored as user 1"

echo "a short test, answered in part"
activate "$main"
keys alt+l
sleep 1
type_text "USA" # the list's search picks the picture lesson, the first of that name
keys alt+s
activate "$(wait_window 'Lerneinstellungen')"
keys Return # the short test is the first mode and Start the default button
sleep 2
# Lesson order: Alabama with Montgomery, Alaska with Juneau, Arizona with
# Phoenix. Five right answers and one wrong one.
for answer in Alabama Montgomery Alaska Juneau Arizona Berlin; do
  type_text "$answer"
  keys Return
done
keys alt+z
activate "$(wait_window 'Lernergebnis')"
keys Return
sleep 1
results="$prog/Ergebnisse/1.dat"
[ -f "$results" ] || fail "no result file for user 1"
echo "--- $results"; cat "$results"
[ "$(grep -c '^[0-9]*=' "$results")" = 1 ] || fail "not exactly one result line"
grep -qx '\[USA_Bundesstaaten_Karte.lek\]' "$results" || fail "the result is not filed under the lesson"
# date;right;wrong (unanswered included);share;seconds;mode
grep -Eq '^1=[0-9]{2}\.[0-9]{2}\.[0-9]{4} [0-9]{2}:[0-9]{2};5;97;4 %;[0-9]+;Kurzkontrolle$' "$results" \
  || fail "the result line does not hold 5 of 102 right in the short test"
close_window "$main"

echo "a second user: the next start asks who is learning"
printf '2=Ben\n' >> "$prog/geo.ini"
start_program
activate "$(wait_window 'Orbilo 3.0')"
keys Down Return
main="$(wait_window 'Orbilo 3.0 – Ben')"
close_window "$main"
[ ! -f "$prog/Ergebnisse/2.dat" ] || fail "Ben has results he never made"
[ -f "$results" ] || fail "Anna's results are gone"
echo "passed"
