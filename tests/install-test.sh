#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a packager and a user get; with the
# dialog, also the .deb: its fields, contents and lintian's verdict, and, as root, dpkg -i and -r.
set -euo pipefail
build="$1" source="$2" gui="$3"
prefix="$(mktemp -d)"
dialog=""
cleanup() {
  [ -z "$dialog" ] || kill "$dialog" 2>/dev/null || true
  rm -rf "$prefix"
}
trap cleanup EXIT
fail() { echo "$*"; exit 1; }

cmake --install "$build" --prefix "$prefix/usr" >/dev/null
installed=(bin/rulecast share/man/man1/rulecast.1.gz share/doc/rulecast/copyright share/doc/rulecast/changelog.gz)
if [ "$gui" = ON ]; then
  installed+=(lib/rulecast/librulecast-qt.so share/applications/rulecast.desktop
    share/icons/hicolor/scalable/apps/rulecast.svg share/icons/hicolor/64x64/apps/rulecast.png
    share/mime/packages/rulecast.xml)
fi
for file in "${installed[@]}"; do
  [ -f "$prefix/usr/$file" ] || fail "not installed: $file"
done

mkdir "$prefix/out"
(cd "$source/examples" && "$prefix/usr/bin/rulecast" Plant.pxkbx "$prefix/out")
for file in Plant.vbp DataServiceImpl.cls GlobalCode.bas KBRoutine.bas PumpStatistics.cls; do
  [ -s "$prefix/out/Plant/$file" ] || fail "not converted: $file"
done
# Logs live beside the executable, so the installed copy logs into its own bin folder.
ls "$prefix/usr/bin/"*.txt >/dev/null
echo "installed and converted"
[ "$gui" = ON ] || exit 0

# The batch and --version load no Qt; the dialog loads the module from the installed folder.
if LD_DEBUG=libs "$prefix/usr/bin/rulecast" --version 2>&1 >/dev/null | grep -q 'calling init:.*libQt'; then
  fail "--version loads Qt"
fi
QT_QPA_PLATFORM=offscreen "$prefix/usr/bin/rulecast" --dialog "$source/examples/Plant.pxkbx" >/dev/null 2>&1 &
dialog=$!
for _ in $(seq 100); do
  grep -q "$prefix/usr/lib/rulecast/librulecast-qt.so" "/proc/$dialog/maps" 2>/dev/null && break
  sleep 0.1
done
grep -q "$prefix/usr/lib/rulecast/librulecast-qt.so" "/proc/$dialog/maps" || fail "the dialog did not load its module"
kill "$dialog"
dialog=""

# The .deb, packed from this build.
"$source/scripts/install-missing.sh" lintian shared-mime-info xdg-utils libfile-mimeinfo-perl
(cd "$build" && cpack -G DEB -B "$prefix/deb" >/dev/null)
deb="$(ls "$prefix/deb/"rulecast_*_amd64.deb)"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
[ "$deb" = "$prefix/deb/rulecast_${version}_amd64.deb" ] || fail "package named $deb"
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package) $(field Version) $(field Architecture)" = "rulecast $version amd64" ] ||
  fail "package fields: $(field Package) $(field Version) $(field Architecture)"
# What a server that only converts needs: libxml2 and the C and C++ runtimes, no Qt.
for package in $(field Depends | tr ',' '\n' | sed 's/^ *\([^ (]*\).*/\1/'); do
  case "$package" in
    libc6 | libgcc-s1 | libstdc++6 | libxml2) ;;
    *) fail "the package depends on $package" ;;
  esac
done
field Depends | grep -q libxml2 || fail "the package does not depend on libxml2"
field Recommends | grep -q libqt6widgets6 || fail "the package does not recommend Qt: $(field Recommends)"
contents="$(dpkg-deb -c "$deb" | awk '{ print $6 }')"
for file in "${installed[@]}"; do
  grep -qx "./usr/$file" <<<"$contents" || fail "not packed: $file"
done
dpkg-deb -x "$deb" "$prefix/unpacked"
grep -qx 'Exec=rulecast --dialog %f' "$prefix/unpacked/usr/share/applications/rulecast.desktop" ||
  fail "the desktop entry does not open a file in the dialog"
grep -qx 'MimeType=application/x-pxkbx;' "$prefix/unpacked/usr/share/applications/rulecast.desktop" ||
  fail "the desktop entry names no file type"
lintian --allow-root --fail-on error "$deb" >"$prefix/lintian.txt" 2>&1 ||
  { cat "$prefix/lintian.txt"; fail "lintian reports errors"; }
echo "packed: $(basename "$deb"), lintian: $(grep -c '^E:' "$prefix/lintian.txt" || true) errors, $(grep -c '^W:' "$prefix/lintian.txt" || true) warnings"

# Installed for real only where the test runs as root, and never over a rulecast already there.
if [ "$(id -u)" -ne 0 ] || dpkg -s rulecast >/dev/null 2>&1; then
  echo "dpkg -i skipped: not root, or rulecast is installed already"
  exit 0
fi
dpkg -i "$deb" >/dev/null
files="$(dpkg -L rulecast)"
[ "$(rulecast --version)" = "rulecast $version" ] || fail "the installed rulecast says $(rulecast --version)"
# Installed in a folder of the system, it logs in the user's folder, also as root.
mkdir -p "$prefix/home" "$prefix/out-installed"
logsBefore="$(ls /usr/bin/*.txt 2>/dev/null || true)"
(cd "$source/examples" && HOME="$prefix/home" XDG_STATE_HOME= rulecast Plant.pxkbx "$prefix/out-installed" >/dev/null)
[ "$(ls /usr/bin/*.txt 2>/dev/null || true)" = "$logsBefore" ] || fail "the installed rulecast logged into /usr/bin"
ls "$prefix/home/.local/state/rulecast/"*.txt >/dev/null || fail "the installed rulecast logged nowhere"
update-mime-database /usr/share/mime
type="$(XDG_CURRENT_DESKTOP= xdg-mime query filetype "$source/examples/Plant.pxkbx")"
dpkg -r rulecast >/dev/null
[ "$type" = application/x-pxkbx ] || fail "a rule file is of type $type"
while read -r path; do
  [ -d "$path" ] || [ ! -e "$path" ] || fail "left after dpkg -r: $path"
done <<<"$files"
[ ! -d /usr/lib/rulecast ] || fail "left after dpkg -r: /usr/lib/rulecast"
echo "dpkg -i: rulecast $version, rule files of type $type; dpkg -r leaves nothing"
