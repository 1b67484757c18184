#!/usr/bin/env bash
# Takes the screenshots of the AppStream metainfo from the real program under
# Xvfb, driven by the keyboard as a learner drives it, and writes them to
# packaging/screenshots/. Run it after a build when the look has changed:
#
#   packaging/take-screenshots.sh [build/orbilo]
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../scripts/common.sh"
ORBILO_PACKAGES=(xvfb openbox xdotool x11-apps netpbm)
install_packages
source "$here/../tests/desktop/session.sh"
make_program_folder "${1:-$here/../build/orbilo}"
out="$here/screenshots"
mkdir -p "$out"
printf '[Geo]\nLanguage=2\nWidth=1024\nHeight=720\n[Users]\n1=Anna\n' > "$prog/geo.ini"
start_desktop

shoot() { # window file
  xwd -silent -id "$1" | xwdtopnm 2>/dev/null | pnmtopng -compression 9 > "$out/$2"
  echo "$out/$2"
}

start_program
main="$(wait_window 'Orbilo 3.0 – Anna')"
activate "$main"
keys alt+l
# From the lesson list back to the continent pictures, Europe is the fourth.
keys shift+Tab shift+Tab shift+Tab shift+Tab space Tab Tab Tab Tab
keys Down Down Down Down Down Down Down # Europa: Länder und Hauptstädte
shoot "$main" catalogue.png

keys alt+s
activate "$(wait_window 'Lerneinstellungen')"
keys Return
sleep 2
shoot "$main" globe.png
keys alt+z
sleep 1

keys Home alt+s # Deutschland: Bundesländer (Karte)
activate "$(wait_window 'Lerneinstellungen')"
keys Return
sleep 2
for answer in Baden-Württemberg Stuttgart Bayern München Berlin Berlin Brandenburg Potsdam Bremen; do
  type_text "$answer"
  keys Return
done
shoot "$main" picture.png
keys alt+z
result="$(wait_window 'Lernergebnis')"
sleep 0.5
shoot "$result" result.png
keys Return
close_window "$main"
