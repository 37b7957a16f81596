#!/usr/bin/env bash
# Builds what is missing, then puts the packages a user installs into dist/: for Windows the
# installer rulecast-VERSION-win64.msi and the zip rulecast-VERSION-win64.zip, for Debian
# rulecast_VERSION_amd64.deb; and, where Node is there, the VS Code extension rulecast-VERSION.vsix.
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
# The extension is packed by vsce, the tool VS Code's marketplace takes extensions from.
if command -v npm >/dev/null; then
  stage="$root/build/vscode-extension"
  rm -rf "$stage"
  mkdir -p "$stage"
  cp -r "$root/editors/vscode/." "$stage/"
  sed -i "s/\"version\": \"[^\"]*\"/\"version\": \"$version\"/" "$stage/package.json"
  if ! (cd "$stage" && npm install --omit=dev --no-audit --no-fund --loglevel=error >/dev/null &&
        npx --yes @vscode/vsce@2.24.0 package --skip-license --allow-missing-repository \
          --out "$dist/rulecast-$version.vsix" </dev/null >/dev/null); then
    echo "warning: the VS Code extension could not be packed" >&2
  fi
else
  echo "note: no Node here, so the VS Code extension (editors/vscode/) is not packed" >&2
fi
ls -l "$dist"
