#!/bin/bash
# SPDX-License-Identifier: MIT
# With a real window manager: a block opened with "Ansicht" → "Block in neuem Fenster anzeigen"
# gets the keys typed next. The program s1; Named(nb1); if x > 0 …; s2 is driven by keyboard:
# copy the decision, select "Named", open it, Down, Ctrl+V, and save through the save dialog;
# the decision must follow nb1 inside "Named". A second Down and Ctrl+V tell the windows apart:
# the new window's Down stays inside "Named", the first window's would go on to the decision
# after it.
# Usage: opened_window_keys_test.sh EDITOR        (skips with 77 when the X tools are missing)
set -u
editor=$1
for tool in Xvfb openbox xdotool xprop; do
  command -v "$tool" > /dev/null || { echo "übersprungen: $tool fehlt"; exit 77; }
done

work=$(mktemp -d)
xvfb=
wm=
app=
trap 'kill $app $wm $xvfb 2> /dev/null; rm -rf "$work"' EXIT

# Waits up to ten seconds for the command $1 to succeed; else reports $2 and the file $3.
until_true() {
  for _ in $(seq 100); do
    eval "$1" && return 0
    sleep 0.1
  done
  echo "FEHLER: $2"
  [ -z "${3:-}" ] || cat "$3"
  exit 1
}

cat > "$work/prog.pas" <<'EOF'
s1;
// Named
nb1;
// Ende Named
if x > 0 then
begin
  y
end
else
begin
  z
end;
s2;
EOF
cat > "$work/want.pas" <<'EOF'
s1;
// Named
nb1;
if x > 0 then
begin
  y
end
else
begin
  z
end;
if x > 0 then
begin
  y
end
else
begin
  z
end;
// Ende Named
if x > 0 then
begin
  y
end
else
begin
  z
end;
s2;
EOF
"$editor" --export "$work/prog.str" "$work/prog.pas" || exit 1
"$editor" --export "$work/want.str" "$work/want.pas" || exit 1

# A display number nobody uses, also not another system's server reached through the abstract
# socket of the same name; the server names it once it accepts connections.
for _ in $(seq 20); do
  n=$((1000 + RANDOM % 30000))
  [ -e "/tmp/.X$n-lock" ] && continue
  grep -q "X11-unix/X$n\$" /proc/net/unix 2> /dev/null && continue
  : > "$work/display"
  Xvfb ":$n" -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3> "$work/display" > "$work/xvfb.log" 2>&1 &
  xvfb=$!
  until_true '[ -s "$work/display" ] || ! kill -0 $xvfb 2> /dev/null' "Xvfb startet nicht" "$work/xvfb.log"
  [ -s "$work/display" ] && break
  xvfb=
done
[ -n "$xvfb" ] || { echo "FEHLER: kein freier Bildschirm für Xvfb"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=:$n
openbox > "$work/openbox.log" 2>&1 &
wm=$!
until_true 'xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q "window id"' \
  "der Fenstermanager läuft nicht" "$work/openbox.log"
mkdir "$work/home"
HOME=$work/home "$editor" "$work/prog.str" > /dev/null 2>&1 &
app=$!
main=$(timeout 20 xdotool search --sync --onlyvisible --name "Fluss-Diagramme zeichnen" | head -1)
[ -n "$main" ] || { echo "FEHLER: kein Hauptfenster"; exit 1; }
until_true '[ "$(xdotool getactivewindow 2> /dev/null)" = "$main" ]' "das Hauptfenster wird nicht aktiv"

# A click beside the drawing of the first diagram window gives it the focus; Down walks s1,
# Named, nb1 to the decision, which is copied; Up goes back to "Named". The menu is opened with
# Alt and walked to "Ansicht" → "Block in neuem Fenster anzeigen".
xdotool mousemove --window "$main" 350 240 click 1
xdotool key Down Down Down Down ctrl+c Up
xdotool key alt Right Right Down Down Return
xdotool key Down ctrl+v
xdotool key Down ctrl+v

# "Datei" → "Struktogramm speichern", then the file name into the dialog once it has the focus.
xdotool key alt Down Down Down Return
dialog=$(timeout 20 xdotool search --sync --onlyvisible --name "Speichern unter" | head -1)
[ -n "$dialog" ] || { echo "FEHLER: kein Speicherdialog"; exit 1; }
until_true '[ "$(xdotool getactivewindow 2> /dev/null)" = "$dialog" ]' "der Speicherdialog wird nicht aktiv"
xdotool type "$work/saved.str"
xdotool key Return
until_true '[ -s "$work/saved.str" ]' "nichts gespeichert"

if cmp -s "$work/saved.str" "$work/want.str"; then
  echo "ok: beide Entscheidungen folgen nb1 im Block Named"
  exit 0
fi
"$editor" --export "$work/saved.pas" "$work/saved.str" > /dev/null 2>&1
echo "FEHLER: gespeichert wurde"
cat "$work/saved.pas"
exit 1
