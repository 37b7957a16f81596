#!/usr/bin/env bash
# Builds what is missing, then runs every test.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/bootstrap.sh"
cd "$root/build"
ctest --output-on-failure -j"$(nproc)"
