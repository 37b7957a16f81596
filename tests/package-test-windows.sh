#!/usr/bin/env bash
# Packs the Windows build and checks what a user unpacks: the program, needing Windows' own DLLs
# only, its guide with CR LF line ends and the licence notices; the unpacked program converts the
# example under Wine. The installer's tables name the product, its version, publisher and the
# upgrade code that every version shares (tests/dialog-test-windows.sh installs it).
set -euo pipefail
build="$1" source="$2" version="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G ZIP -B "$work/pack" >/dev/null)
(cd "$work" && cmake -E tar xf "pack/rulecast-$version-win64.zip")
unpacked="$work/rulecast-$version-win64"
for file in rulecast.exe README.txt LICENSE.txt licenses/libxml2.txt licenses/nlohmann-json.txt licenses/mingw-w64-runtime-and-winpthreads.txt \
            licenses/gcc-runtime-libstdc++-libgcc.txt; do
  [ -s "$unpacked/$file" ] || { echo "not packed: $file"; exit 1; }
done
lines="$(wc -l <"$unpacked/README.txt")"
[ "$(grep -c $'\r$' "$unpacked/README.txt")" -eq "$lines" ] || { echo "README.txt lacks CR LF"; exit 1; }
grep -q "Rulecast $version for Windows" "$unpacked/README.txt" || { echo "README.txt lacks its title"; exit 1; }

# Statically linked: nothing but Windows' own DLLs, so the zip needs nothing else.
for dll in $(x86_64-w64-mingw32-objdump -p "$unpacked/rulecast.exe" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
  case "${dll,,}" in
    kernel32.dll | advapi32.dll | comctl32.dll | comdlg32.dll | ole32.dll | shell32.dll | user32.dll | \
      msvcrt.dll | ws2_32.dll) ;;
    *) echo "rulecast.exe needs $dll"; exit 1 ;;
  esac
done

mkdir "$work/out"
wine "$unpacked/rulecast.exe" "Z:$source/examples/Plant.pxkbx" "Z:$work/out" >/dev/null
for file in Plant.vbp DataServiceImpl.cls GlobalCode.bas KBRoutine.bas PumpStatistics.cls; do
  [ -s "$work/out/Plant/$file" ] || { echo "not converted: $file"; exit 1; }
done
ls "$unpacked/"*.txt | grep -qv README.txt || { echo "no log beside the unpacked program"; exit 1; }
msi="$build/rulecast-$version-win64.msi"
property() { msiinfo export "$msi" Property | sed -n "s/^$1\t//p" | tr -d '\r'; }
[ "$(property ProductName) $(property ProductVersion) $(property Manufacturer)" = "Rulecast $version Rulecast" ] ||
  { echo "installer: $(property ProductName) $(property ProductVersion) $(property Manufacturer)"; exit 1; }
[ "$(property UpgradeCode)" = "{75660A1B-F934-488E-8B75-EF24EA1CD8FD}" ] || { echo "installer: another upgrade code"; exit 1; }
[ -z "$(property ALLUSERS)" ] || { echo "installer: not per user by default"; exit 1; }
echo "packed, unpacked and converted; installer $(basename "$msi")"
