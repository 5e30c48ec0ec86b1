#!/usr/bin/env bash
# Checks the Debian package `make package` made: lintian finds no errors, it holds exactly the
# files of packaging/package-files.txt, and once installed with apt the program tells its
# version, has its manual page, converts and runs a small program. The package is removed
# again afterwards (unless it was installed before).
# Aufruf: scripts/check-package.sh PAKET.deb
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
[ $# -eq 1 ] && [ -f "$1" ] || { echo "Aufruf: $0 PAKET.deb" >&2; exit 2; }
deb="$(realpath "$1")"

fail() {
  echo "FEHLER: $*" >&2
  exit 1
}

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

name="$(dpkg-deb -f "$deb" Package)"
version="$(dpkg-deb -f "$deb" Version)"
arch="$(dpkg-deb -f "$deb" Architecture)"
[ "$(basename "$deb")" = "${name}_${version}_${arch}.deb" ] ||
  fail "$(basename "$deb") heißt nicht ${name}_${version}_${arch}.deb"

echo "== lintian $(basename "$deb")"
lintian --fail-on error --display-info "$deb" || fail "lintian meldet Fehler"

echo "== Dateien im Paket"
# Folders are left out: dpkg makes them as it needs them.
actual="$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' | sort)"
expected="$(grep -v '^#' "$root/packaging/package-files.txt" | sed '/^$/d' | sort)"
echo "$actual"
if [ "$actual" != "$expected" ]; then
  diff <(echo "$expected") <(echo "$actual") | sed 's/^</fehlt:      /; s/^>/zu viel:    /' | grep -v '^[0-9]' >&2 || true
  fail "das Paket hält andere Dateien als packaging/package-files.txt"
fi

echo "== Installieren"
installed_before=0
dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q 'install ok installed' && installed_before=1
work="$(mktemp -d)"
cleanup() {
  cd /
  rm -rf "$work"
  if [ "$installed_before" -eq 0 ]; then
    echo "== Entfernen"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get remove -y -qq -o Dpkg::Use-Pty=0 "$name"
  else
    echo "$name war schon vorher installiert und bleibt es (jetzt in Version $version)."
  fi
}
trap cleanup EXIT
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq -o Dpkg::Use-Pty=0 "$deb"

cd "$work"
# The installed program, not one from the build; no display, as on a server.
program=/usr/bin/struktogramme
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" "$@"; }

echo "== struktogramme --version"
out="$(run --version)"
echo "$out"
[ "$out" = "struktogramme $version" ] || fail "erwartet: struktogramme $version"

if command -v man >/dev/null; then
  echo "== man -w struktogramme"
  out="$(man -w struktogramme)"
  echo "$out"
  [ "$out" = /usr/share/man/man1/struktogramme.1.gz ] || fail "die Handbuchseite fehlt"
  # The page must render without groff's complaints.
  warnings="$(LC_ALL=C.UTF-8 man --warnings -E UTF-8 struktogramme 2>&1 >/dev/null)"
  [ -z "$warnings" ] || fail "groff meldet: $warnings"
fi

printf 'B:gesamtes Programm\001A:x := 1\001A:writeln(x)\001\002\002' >in.str

echo "== struktogramme --export out.pas in.str"
run --export out.pas in.str
printf '  x := 1;\r\n  writeln(x);\r\n' >expected.pas
cmp expected.pas out.pas || fail "out.pas ist nicht das erwartete Pascal: $(od -c out.pas | head -5)"

echo "== struktogramme --export out.png in.str"
run --export out.png in.str
file -b out.png
file -b out.png | grep -q '^PNG image data, [0-9]* x [0-9]*' || fail "out.png ist kein PNG-Bild"

echo "== struktogramme --run in.str"
out="$(run --run in.str)"
echo "$out"
[ "$out" = 1 ] || fail "erwartet: 1"

# The installed program finds its English translation.
echo "== struktogramme --lang en --run in.str --max-steps 1"
out="$(run --lang en --run in.str --max-steps 1 2>&1 >/dev/null || true)"
echo "$out"
[ "$out" = "The run was stopped after 1 steps (--max-steps)." ] ||
  fail "die englische Übersetzung fehlt"

echo "Das Paket $(basename "$deb") ist in Ordnung."
