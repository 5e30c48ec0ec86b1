#!/bin/bash
# SPDX-License-Identifier: MIT
# The main window and the counting-loop dialog measured with a real window manager's frames:
# outer sizes (title bar and borders included) and positions as the program places them.
# Usage: window_geometry_test.sh EDITOR        (skips with 77 when the X tools are missing)
set -u
editor=$1
for tool in xvfb-run openbox xdotool xprop xwininfo; do
  command -v "$tool" > /dev/null || { echo "übersprungen: $tool fehlt"; exit 77; }
done
[ -n "${INSIDE_XVFB:-}" ] || exec env INSIDE_XVFB=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"

fail=0
openbox > /dev/null 2>&1 &
wm=$!
trap 'kill $wm $app 2> /dev/null' EXIT
sleep 1
home=$(mktemp -d)
HOME=$home "$editor" > /dev/null 2>&1 &
app=$!

# Outer geometry "WxH+X+Y" of the visible window whose title is $1, once the window manager has
# framed it.
outer() {
  local w ext x y wd ht l r t b
  w=$(timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -1)
  [ -n "$w" ] || { echo "kein Fenster"; return; }
  ext=$(xprop -id "$w" _NET_FRAME_EXTENTS 2> /dev/null | sed -n 's/.*= //p')
  [ -n "$ext" ] || { echo "ohne Rahmen"; return; }
  IFS=', ' read -r l r t b <<< "$ext"
  eval "$(xwininfo -id "$w" | awk '/Absolute upper-left X/{print "x="$4} /Absolute upper-left Y/{print "y="$4} /Width:/{print "wd="$2} /Height:/{print "ht="$2}')"
  echo "$((wd + l + r))x$((ht + t + b))+$((x - l))+$((y - t))"
}

# Waits up to ten seconds for the window titled $2 to measure $3 (the program adapts its size
# once it knows the frame), then reports.
expect() {
  local seen
  for _ in $(seq 100); do
    seen=$(outer "$2")
    [ "$seen" = "$3" ] && break
    sleep 0.1
  done
  if [ "$seen" = "$3" ]; then echo "ok: $1 $seen"; else echo "FEHLER: $1 ist $seen, erwartet $3"; fail=1; fi
}

gone() {
  for _ in $(seq 100); do
    [ -z "$(xdotool search --onlyvisible --name "$1")" ] && return
    sleep 0.1
  done
}

expect "Hauptfenster" "Fluss-Diagramme zeichnen" "696x480+278+105"
IFS='x+' read -r _ _ mx my <<< "$(outer "Fluss-Diagramme zeichnen")"
for showing in 1 2 3; do
  # The program's root block in the first diagram window, then the toolbar's counting loop.
  xdotool mousemove $((mx + 58)) $((my + 133)) click 1
  sleep 0.2
  xdotool mousemove $((mx + 273)) $((my + 59)) click 1
  expect "Zählschleife ($showing. Anzeige)" "Zählschleife" "285x121+466+117"
  xdotool key Escape
  gone "Zählschleife"
done
exit $fail
