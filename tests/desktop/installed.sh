#!/usr/bin/env bash
# The Debian package as a family gets it: built with CPack, unpacked into a
# root of its own (dpkg -x), its desktop entry and metainfo validated, and the
# installed program started there. Whatever it writes must land in the user's
# data folder, never under the installed tree.
#
#   installed.sh <build folder>
source "$(dirname "${BASH_SOURCE[0]}")/session.sh"
build="$1"
for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed: skipped"; exit 77; }
done

echo "the package"
(cd "$build" && cpack -G DEB --config CPackConfig.cmake -B "$work/pkg") >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log"; fail "cpack could not build the package"; }
deb="$(ls "$work"/pkg/orbilo_*.deb)"
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
for needed in libqt6widgets6 libgif7 libzip4 fonts-liberation2; do
  grep -q "$needed" <<<"$depends" || fail "the package does not depend on $needed"
done
root="$work/root"
dpkg -x "$deb" "$root"
for file in usr/bin/orbilo usr/share/orbilo/geo.hlp usr/share/orbilo/Data/geodata.dat \
            usr/share/applications/org.orbilo.Orbilo.desktop usr/share/metainfo/org.orbilo.Orbilo.metainfo.xml \
            usr/share/icons/hicolor/scalable/apps/org.orbilo.Orbilo.svg \
            usr/share/icons/hicolor/48x48/apps/org.orbilo.Orbilo.png; do
  [ -e "$root/$file" ] || fail "the package lacks /$file"
done
ls "$root"/usr/share/orbilo/Lektionen/*.lek >/dev/null || fail "the package ships no lessons"
desktop-file-validate "$root/usr/share/applications/org.orbilo.Orbilo.desktop" || fail "the desktop entry is not valid"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.orbilo.Orbilo.metainfo.xml" || fail "the metainfo is not valid"
for screenshot in $(sed -n 's#.*<image>https\?://[^<]*/\([^/<]*\)</image>.*#\1#p' "$root/usr/share/metainfo/org.orbilo.Orbilo.metainfo.xml"); do
  [ -f "$(dirname "${BASH_SOURCE[0]}")/../../packaging/screenshots/$screenshot" ] \
    || fail "the metainfo names a screenshot $screenshot that packaging/screenshots/ lacks"
done

echo "the installed program"
before="$(cd "$root" && find . -type f -print0 | sort -z | xargs -0 sha1sum)"
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" XDG_CONFIG_HOME="$work/home/.config"
mkdir -p "$HOME"
prog="$root/usr/bin" # where start_program finds the executable
start_desktop
start_program
activate "$(wait_window 'Orbilo 3.0')"
type_text "Anna"
keys Return
main="$(wait_window 'Orbilo 3.0 – Anna')"
# A shipped lesson opens from the installed data folder and is left at once.
keys alt+l
sleep 1
type_text "USA"
keys alt+s
activate "$(wait_window 'Lerneinstellungen')"
keys Return
sleep 2
keys alt+z
sleep 1
close_window "$main"

user="$XDG_DATA_HOME/Orbilo"
[ -f "$user/geo.ini" ] || fail "no geo.ini in the user's data folder $user"
grep -qx '1=Anna' "$user/geo.ini" || fail "the user was not stored in $user/geo.ini"
[ -d "$user/Ergebnisse" ] && [ -d "$user/Lektionen" ] || fail "no folders for results and own lessons in $user"
after="$(cd "$root" && find . -type f -print0 | sort -z | xargs -0 sha1sum)"
[ "$before" = "$after" ] || fail "the program changed files of the installed tree: $(diff <(echo "$before") <(echo "$after"))"
grep -q "Error\|Fehler" "$work/out.log" && fail "the program reported an error"
echo "passed"
