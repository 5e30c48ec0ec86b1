#!/bin/bash
# SPDX-License-Identifier: MIT
# Every text the program can show has an English translation: the sources' texts are gathered
# into a copy of the .ts file as `update_translations` would, and any entry left unfinished
# (a new text, or one whose German changed) fails the test.
# Usage: translations_test.sh LUPDATE TS-FILE "LUPDATE OPTIONS" SOURCE-FOLDER...
set -eu
lupdate=$1 ts=$2 options=$3
shift 3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$ts" "$work/copy.ts"
# shellcheck disable=SC2086
"$lupdate" $options "$@" -ts "$work/copy.ts" > "$work/lupdate.log" 2>&1 || {
  cat "$work/lupdate.log"
  exit 1
}
missing=$(grep -c 'type="unfinished"' "$work/copy.ts" || true)
if [ "$missing" -ne 0 ]; then
  echo "FEHLER: $missing Texte ohne englische Übersetzung:"
  grep -B2 'type="unfinished"' "$work/copy.ts" | grep '<source>' | sed 's/^ *//'
  echo "(cmake --build build --target update_translations, dann $ts ergänzen)"
  exit 1
fi
total=$(grep -c '<source>' "$work/copy.ts")
echo "$total Texte, alle übersetzt"
