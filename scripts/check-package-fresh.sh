#!/usr/bin/env bash
# Installs the Debian package into a fresh Debian 12 (bookworm, minbase) made with debootstrap,
# with apt and without recommended packages, and runs the program there: a missing dependency
# shows here, where the development machine has everything installed already. Needs root (or
# sudo), debootstrap and a Debian mirror; takes a few minutes, so CI does not run it.
# Aufruf: scripts/check-package-fresh.sh PAKET.deb [SPIEGEL]
set -euo pipefail

[ $# -ge 1 ] && [ -f "$1" ] || { echo "Aufruf: $0 PAKET.deb [SPIEGEL]" >&2; exit 2; }
deb="$(realpath "$1")"
mirror="${2:-http://deb.debian.org/debian}"

fail() {
  echo "FEHLER: $*" >&2
  exit 1
}

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
command -v debootstrap >/dev/null || fail "debootstrap fehlt (apt-get install debootstrap)"

version="$(dpkg-deb -f "$deb" Version)"
tree="$(mktemp -d /var/tmp/struktogramme-frisch.XXXXXX)"
host="$(mktemp -d)"
cleanup() {
  $sudo umount "$tree/proc" 2>/dev/null || true
  # Never delete through a mount that is still there.
  if mountpoint -q "$tree/proc"; then
    echo "$tree/proc ist noch eingehängt; $tree bleibt stehen." >&2
  else
    $sudo rm -rf --one-file-system "$tree"
  fi
  rm -rf "$host"
}
trap cleanup EXIT

echo "== debootstrap bookworm ($mirror) nach $tree"
$sudo debootstrap --variant=minbase bookworm "$tree" "$mirror" >"$tree.log" 2>&1 ||
  { tail -20 "$tree.log" >&2; fail "debootstrap ist gescheitert (ganzes Protokoll: $tree.log)"; }
rm -f "$tree.log"
echo "   nach ${SECONDS} s"
# The launcher finds the editor through /proc/self/exe.
$sudo mount -t proc proc "$tree/proc"
in_tree() { $sudo env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin chroot "$tree" "$@"; }

echo "== apt-get install --no-install-recommends $(basename "$deb")"
$sudo cp "$deb" "$tree/tmp/"
in_tree apt-get update -qq
in_tree env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
  -o Dpkg::Use-Pty=0 "/tmp/$(basename "$deb")" >/dev/null
echo "   nach ${SECONDS} s"

echo "== struktogramme --version"
out="$(in_tree struktogramme --version)"
echo "$out"
[ "$out" = "struktogramme $version" ] || fail "erwartet: struktogramme $version"

echo "== Umwandeln und Ausführen"
in_tree sh -c "cd /tmp &&
  printf 'B:gesamtes Programm\001A:x := 1\001A:writeln(x)\001\002\002' >in.str &&
  struktogramme --export out.pas in.str && struktogramme --export out.png in.str &&
  struktogramme --export out.pdf in.str && struktogramme --run in.str >run.txt"
printf '  x := 1;\r\n  writeln(x);\r\n' >"$host/expected.pas"
cmp "$host/expected.pas" "$tree/tmp/out.pas" || fail "out.pas ist nicht das erwartete Pascal"
[ "$(cat "$tree/tmp/run.txt")" = 1 ] || fail "--run schrieb: $(cat "$tree/tmp/run.txt")"
file -b "$tree/tmp/out.png" "$tree/tmp/out.pdf"
file -b "$tree/tmp/out.png" | grep -q '^PNG image data' || fail "out.png ist kein PNG-Bild"
file -b "$tree/tmp/out.pdf" | grep -q '^PDF document' || fail "out.pdf ist kein PDF-Dokument"
# Printouts use Times New Roman's metric twin from fonts-liberation.
grep -a -q '/BaseFont */LiberationSerif' "$tree/tmp/out.pdf" ||
  fail "out.pdf ist nicht in Liberation Serif gesetzt: $(grep -a -o '/BaseFont */[A-Za-z+-]*' "$tree/tmp/out.pdf" | sort -u)"

# The same picture as the package's program draws on this machine: the fonts it needs came
# along. The package is unpacked here, not installed; the launcher finds the editor beside it.
dpkg-deb -x "$deb" "$host/paket"
(cd "$host" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
  paket/usr/bin/struktogramme --export hier.png "$tree/tmp/in.str")
cmp "$host/hier.png" "$tree/tmp/out.png" ||
  fail "das Bild aus dem frischen System weicht vom Bild auf diesem Rechner ab"

# The window icon is an SVG: Qt draws it with the icon engine from libqt6svg6.
in_tree test -e /usr/lib/x86_64-linux-gnu/qt6/plugins/iconengines/libqsvgicon.so ||
  fail "Qt kann das SVG-Symbol des Fensters nicht zeichnen (libqsvgicon.so fehlt)"

echo "Das Paket $(basename "$deb") läuft in einem frischen Debian 12 (${SECONDS} s)."
