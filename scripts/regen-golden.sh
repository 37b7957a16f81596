#!/usr/bin/env bash
# Regenerates the expected project trees and logs under tests/golden/ from the built program, and
# the usage text that --help prints on Linux (tests/golden/usage.txt).
# Run it only when a change to the output is meant, then read the diff before committing. A case
# folder's file "options", when there is one, holds the options its command line starts with.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/bootstrap.sh"
export WINEPREFIX="$root/tests/golden/wine"

for case in "$root"/tests/golden/*/; do
  [ -f "$case/input.pxkbx" ] || continue
  work="$(mktemp -d)"
  cp "$root/build/rulecast" "$work/rulecast"
  mkdir "$work/target"
  options=()
  [ -f "$case/options" ] && read -r -a options < "$case/options"
  (cd "$case" && "$work/rulecast" "${options[@]}" input.pxkbx "$work/target" >/dev/null 2>&1) || true
  rm -rf "$case/expected"
  mkdir "$case/expected"
  cp -r "$work/target/." "$case/expected/"
  log="$(ls "$work" | grep '\.txt$' | head -n 1)"
  sed -E -e 's/[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}\.[0-9]{2}\.[0-9]{2}/TIME/g' \
         -e "s#${case%/}/input.pxkbx#RULE#g" "$work/$log" > "$case/expected.log"
  rm -rf "$work"
  echo "regenerated ${case#$root/}"
done
"$root/build/rulecast" --help > "$root/tests/golden/usage.txt"
echo "regenerated tests/golden/usage.txt"
