#!/usr/bin/env bash
# Builds what is missing, then puts the packages a user installs into dist/: for Windows the
# installer rulecast-VERSION-win64.msi and the zip rulecast-VERSION-win64.zip, for Debian
# rulecast_VERSION_amd64.deb.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/bootstrap.sh"
"$root/scripts/build-windows.sh"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$root/build/CMakeCache.txt")"
dist="$root/dist"
mkdir -p "$dist"
rm -f "$dist"/rulecast*
(cd "$root/build" && cpack -G DEB -B "$root/build/deb" >/dev/null)
cp "$root/build/deb/rulecast_${version}_amd64.deb" "$dist/"
cp "$root/build-windows/rulecast-$version-win64.zip" "$root/build-windows/rulecast-$version-win64.msi" "$dist/"
ls -l "$dist"
