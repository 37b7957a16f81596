#!/usr/bin/env bash
# Builds what is missing, then converts. Without arguments: examples/Plant.pxkbx into out/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/bootstrap.sh"
if [ $# -eq 0 ]; then
  mkdir -p "$root/out"
  cd "$root"
  exec "$root/build/rulecast" examples/Plant.pxkbx out
fi
exec "$root/build/rulecast" "$@"
