#!/usr/bin/env bash
# Builds what is missing for Windows, then runs every Windows test under Wine, in a Wine prefix of
# its own inside build-windows/ and with one wineserver kept up for the whole run; then the dialog.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/build-windows.sh"
out="$root/build-windows"

export WINEPREFIX="$out/wineprefix"
export WINEDEBUG=-all
# Wine's ANSI code page follows the locale: 1252 here.
export LC_ALL=en_US.UTF-8
# Neither the .NET nor the HTML engine is needed, so Wine does not ask to install them.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$WINEPREFIX"
# Already up when an earlier run was cut short; then that one serves.
wineserver --persistent 2>/dev/null || true
trap 'wineserver --kill >/dev/null 2>&1 || true' EXIT
# Creates the prefix the first time, and starts its services now, away from CTest's pipes: a
# service started by a test program would hold that program's output open long after it ended.
wine wineboot --init >/dev/null 2>&1

cd "$out"
ctest --output-on-failure -j"$(nproc)"

# The dialog, driven by keys and clicks on a virtual display, in a Wine prefix of its own; there
# also the installer, installed, tried and removed.
"$root/scripts/install-missing.sh" xvfb xdotool x11-utils
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$out/CMakeCache.txt")"
bash "$root/tests/dialog-test-windows.sh" "$out/rulecast.exe" "$root" "$out/wineprefix-dialog" \
  "$out/rulecast-$version-win64.msi"
