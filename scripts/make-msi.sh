#!/usr/bin/env bash
# Builds the Windows installer rulecast-VERSION-win64.msi from resources/rulecast.wxs with wixl
# (Debian's msitools), from the rulecast.exe and README.txt of a Windows build.
#   scripts/make-msi.sh BUILD_DIR VERSION    (writes BUILD_DIR/rulecast-VERSION-win64.msi)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$1" version="$2"
"$root/scripts/install-missing.sh" wixl msitools
stage="$build/msi"
rm -rf "$stage"
mkdir -p "$stage"
# wixl finds the files it packs by names relative to the folder it runs in.
cp "$build/rulecast.exe" "$build/README.txt" "$root/resources/rulecast.ico" "$stage/"
cd "$stage"
if ! wixl -a x64 -D Version="$version" -D Exe=rulecast.exe -D Icon=rulecast.ico -D Readme=README.txt \
    -o rulecast.msi "$root/resources/rulecast.wxs" >wixl.log 2>&1; then
  cat wixl.log >&2
  exit 1
fi

# Rows that wixl 0.101 cannot write, set in its tables afterwards: the registry root that is
# the user's for a per-user installation and the machine's for ALLUSERS=1 (HKMU, -1, which wixl
# writes as 4); the mark that another program opens .pxkbx files, removed with everything below it
# on removal (name "-", no value), whatever the searches find then; the searches for the default
# value of Software\Classes\.pxkbx (a key's default value has no name, which wixl's search requires;
# roots 1 and 2, the user's and the machine's; 18: the raw value, in the 64-bit view); and the
# upgrade that replaces the same version too (AllowSameVersionUpgrades: 512, the highest version
# included).
msiinfo export rulecast.msi Registry | awk -F'\t' 'BEGIN { OFS = "\t" } NR > 3 && $2 == 4 { $2 = -1 } { print }
  END { print "RemovePxkbxMark", -1, "Software\\Rulecast\\PxkbxOpensWithAnother", "-", "", "Association" }' >Registry.idt
msiinfo export rulecast.msi Upgrade |
  awk -F'\t' 'BEGIN { OFS = "\t" } NR > 3 && $7 ~ /^WIX_UPGRADE_DETECTED/ { $5 = $5 + 512 } { print }' >Upgrade.idt
msibuild rulecast.msi -i Upgrade.idt
{
  printf 'Signature_\tRoot\tKey\tName\tType\ns72\ti2\ts255\tS255\tI2\nRegLocator\tSignature_\n'
  printf '%s\t%s\tSoftware\\Classes\\.pxkbx\t\t18\n' PxkbxUserOwnerSearch 1 PxkbxMachineOwnerSearch 2
} >RegLocator.idt
msibuild rulecast.msi -i Registry.idt
msibuild rulecast.msi -i RegLocator.idt
mv rulecast.msi "$build/rulecast-$version-win64.msi"
