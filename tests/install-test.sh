#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a packager and a user get.
set -euo pipefail
build="$1" source="$2" gui="$3"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
expected=(bin/rulecast share/man/man1/rulecast.1)
if [ "$gui" = ON ]; then
  expected+=(share/applications/rulecast.desktop share/icons/hicolor/scalable/apps/rulecast.svg)
fi
for file in "${expected[@]}"; do
  [ -f "$prefix/$file" ] || { echo "not installed: $file"; exit 1; }
done

mkdir "$prefix/out"
(cd "$source/examples" && "$prefix/bin/rulecast" Plant.pxkbx "$prefix/out")
for file in Plant.vbp DataServiceImpl.cls GlobalCode.bas KBRoutine.bas PumpStatistics.cls; do
  [ -s "$prefix/out/Plant/$file" ] || { echo "not converted: $file"; exit 1; }
done
# Logs live beside the executable, so the installed copy logs into its own bin folder.
ls "$prefix/bin/"*.txt >/dev/null
echo "installed and converted"
