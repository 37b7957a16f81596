#!/usr/bin/env bash
# The Windows dialog under Wine on a virtual X display, driven as a user drives it: started as
# Explorer starts it, it shows without a console window and at its size, Escape closes it without
# saving anything, and clicks and keys through both choosers convert a rule file into the
# documents folder, which is then remembered. A rule file given to --dialog, or dropped onto the
# program, is the one converted; a batch started as Explorer starts it shows its message in a box.
# Given the installer, it installs per user and for all users, and a rule file opened as Explorer
# opens it shows in the dialog; removed, nothing of the installation is left.
# Arguments: rulecast.exe, the source tree, the Wine prefix that this test keeps for itself, and
# optionally rulecast-VERSION-win64.msi.
set -euo pipefail
exe="$1" source="$2" msi="${4:-}"
export WINEPREFIX="$3"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
work="$(mktemp -d)"
xvfb="" program=""
cleanup() {
  [ -z "$program" ] || kill "$program" 2>/dev/null || true
  wineserver --kill >/dev/null 2>&1 || true
  [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "dialog: $*" >&2; exit 1; }

# A display of its own, on the first free number.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"

# The prefix is made once. Every Windows has the bitmap font "MS Sans Serif" that the dialog asks
# for; Wine has it too but does not install it, and its stand-in is a pixel shorter.
mkdir -p "$WINEPREFIX"
[ -d "$WINEPREFIX/drive_c/windows" ] || wine wineboot --init >/dev/null 2>&1
cp /usr/share/wine/fonts/sserife.fon "$WINEPREFIX/drive_c/windows/Fonts/"
# Wine links the user's Desktop, Documents and the like to the home folder; a chooser that goes
# astray must not write there.
find "$WINEPREFIX/drive_c/users" -mindepth 2 -maxdepth 2 -type l | while read -r link; do
  rm "$link" && mkdir "$link"
done
# The prefix is kept between runs: the user's config.txt that the installed program of an earlier
# run wrote remembers that run's documents folder, gone since, and would take the dialog there.
rm -rf "$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Rulecast"
# The documents folder, named with slashes: the chooser names the folder it returns with
# backslashes, so config.txt shows whether the chooser had it selected.
mkdir -p "$work/Documents" "$work/app"
documents="Z:$work/Documents"
wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders' \
  /v Personal /t REG_EXPAND_SZ /d "$documents" /f >/dev/null 2>&1
# As a user unpacks it: config.txt and the logs go beside the program.
cp "$exe" "$work/app/rulecast.exe"
cp "$source/examples/Plant.pxkbx" "$work/Plant.pxkbx"

# Wine can take seconds for a window, the shell's folder chooser most of all.
wait_for() {
  local name="$1" skip="${2:-}" id
  for _ in $(seq 600); do
    for id in $(xdotool search --name "^$name\$" 2>/dev/null); do
      [ "$id" = "$skip" ] || { echo "$id"; return; }
    done
    sleep 0.1
  done
  fail "no window \"$name\""
}
wait_gone() {
  for _ in $(seq 600); do
    xdotool getwindowname "$1" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  fail "window $1 stays open"
}
wait_ended() {
  for _ in $(seq 600); do
    kill -0 "$program" 2>/dev/null || { program=""; return; }
    sleep 0.1
  done
  fail "rulecast.exe still runs after $1"
}
# Keys go to the window that has the focus; without a window manager, a click on the window's
# empty corner gives it the focus, as a user's click would.
press() {
  xdotool mousemove --window "$1" 2 2 click 1
  xdotool key "$2"
}
# Clicks the middle of a control given in dialog units, scaled by the client area's size.
click() {
  local window="$1" x="$2" y="$3" width="$4" height="$5"
  xdotool mousemove --window "$window" $(((2 * x + width) * client_width / 580)) \
    $(((2 * y + height) * client_height / 204)) click 1
}
# how is empty for a start from a console or a script, "start" for one as Explorer does it, with a
# console made for the program alone; the program's arguments follow.
start_program() {
  local how="${1:-}"
  shift || true
  if [ "$how" = start ]; then
    (cd "$work" && exec wine start /wait /unix "$work/app/rulecast.exe" "$@" </dev/null >/dev/null 2>&1) &
  else
    (cd "$work" && exec wine "$work/app/rulecast.exe" "$@" >/dev/null 2>&1) &
  fi
  program=$!
}
start() {
  start_program "$@"
  wait_dialog
}
wait_dialog() {
  dialog="$(wait_for Rulecast)"
  # Wine may size the window again right after it shows; the size that stays counts.
  local size="" last=""
  for _ in $(seq 50); do
    size="$(xwininfo -id "$dialog" | sed -n 's/^ *\(Width\|Height\): //p' | tr '\n' ' ')"
    [ "$size" = "$last" ] && break
    last="$size"
    sleep 0.2
  done
  read -r client_width client_height <<<"$size"
}

# Started as Explorer starts it, the program lets its own console go: only the dialog shows.
start start
for _ in $(seq 20); do
  [ -z "$(xdotool search --onlyvisible --class conhost 2>/dev/null)" ] && break
  sleep 0.1
done
[ -z "$(xdotool search --onlyvisible --class conhost 2>/dev/null)" ] || fail "a console window shows beside the dialog"
# 290 x 102 dialog units of 8-point MS Sans Serif: 435 x 166 pixels at 96 dpi.
[ "$client_width" -ge 430 ] && [ "$client_width" -le 440 ] && [ "$client_height" -ge 160 ] &&
  [ "$client_height" -le 172 ] || fail "client area $client_width x $client_height, not about 435 x 166"
press "$dialog" Escape
wait_ended Escape
[ ! -e "$work/app/config.txt" ] || fail "Escape saved config.txt"

start
click "$dialog" 258 19 19 14
chooser="$(wait_for Open)"
xdotool mousemove --window "$chooser" 2 2 click 1
xdotool type --delay 5 "Z:${work//\//\\}\\Plant.pxkbx"
xdotool key Return
wait_gone "$chooser"
click "$dialog" 258 44 19 15
chooser="$(wait_for 'Browse for Folder')"
press "$chooser" Return
wait_gone "$chooser"
click "$dialog" 187 76 47 19
message="$(wait_for Rulecast "$dialog")"
press "$message" Return
wait_gone "$message"
press "$dialog" Escape
wait_ended Quit

for file in Plant.vbp DataServiceImpl.cls GlobalCode.bas KBRoutine.bas; do
  [ -s "$work/Documents/Plant/$file" ] || fail "not converted: $file"
done
[ -f "$work/app/config.txt" ] || fail "config.txt not saved"
remembered="$(head -n 1 "$work/app/config.txt" | tr -d '\r')"
[ "$remembered" = "${documents//\//\\}" ] ||
  fail "config.txt holds \"$remembered\", not the folder the chooser had selected"
# Opened with a rule file, the dialog converts it into the remembered folder at once. Each rule
# file's name is its own, and so is the folder the dialog makes first.
convert_shown() {
  local name="$1"
  click "$dialog" 187 76 47 19
  message="$(wait_for Rulecast "$dialog")"
  press "$message" Return
  wait_gone "$message"
  press "$dialog" Escape
  [ -d "$work/Documents/$name" ] || fail "the dialog opened by $2 did not have $name.pxkbx chosen"
}
windows_path() { echo "Z:${1//\//\\}"; }
cp "$work/Plant.pxkbx" "$work/Given.pxkbx"
start "" --dialog "$(windows_path "$work/Given.pxkbx")"
convert_shown Given "--dialog FILE"
wait_ended "--dialog FILE"
cp "$work/Plant.pxkbx" "$work/Dropped.pxkbx"
start start "$(windows_path "$work/Dropped.pxkbx")"
convert_shown Dropped "a rule file dropped onto it"
wait_ended "a rule file dropped onto it"
# Of two files dropped at once the dialog takes the first, after a message that says so.
cp "$work/Plant.pxkbx" "$work/First.pxkbx"
cp "$work/Plant.pxkbx" "$work/Second.pxkbx"
start_program start "$(windows_path "$work/First.pxkbx")" "$(windows_path "$work/Second.pxkbx")"
message="$(wait_for Rulecast)"
press "$message" Return
wait_gone "$message"
wait_dialog
convert_shown First "two rule files dropped onto it"
wait_ended "two rule files dropped onto it"
[ ! -e "$work/Documents/Second" ] || fail "the second of two files dropped was converted too"
# A batch on a console of its own tells its outcome in one message box, however many lines.
mkdir -p "$work/broken"
for n in $(seq 12); do echo "<Rules" >"$work/broken/Broken$n.pxkbx"; done
start_program start "$(windows_path "$work/broken")\\*.pxkbx" "$(windows_path "$work/Documents")"
# Each box is answered; one may go away between being found and being pressed.
boxes=" "
for _ in $(seq 600); do
  kill -0 "$program" 2>/dev/null || break
  for message in $(xdotool search --name '^Rulecast$' 2>/dev/null); do
    [[ "$boxes" == *" $message "* ]] || boxes+="$message "
    press "$message" Return 2>/dev/null || true
  done
  sleep 0.2
done
wait_ended "the batch's messages"
[ "$boxes" != " " ] || fail "a batch started as Explorer starts it showed no message box"
[ "$(wc -w <<<"$boxes")" -eq 1 ] || fail "a batch started as Explorer starts it showed $(wc -w <<<"$boxes") message boxes"
echo "dialog: opens at $client_width x $client_height, Escape closes it, a rule file chosen, given or dropped converts"
[ -n "$msi" ] || exit 0

# The installer. Wine keeps no per-user classes apart from the machine's when it looks up a file
# type, and does not remember for a removal that a product was installed for all users.
users="$WINEPREFIX/drive_c/users/$(whoami)"
per_user_program="$users/AppData/Local/Programs/Rulecast/rulecast.exe"
shortcut="$users/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Rulecast.lnk"
classes='Software\Classes'
app_path='Software\Microsoft\Windows\CurrentVersion\App Paths\rulecast.exe'
msiexec() {
  local status=0
  # The action first, then the package, then its properties.
  wine msiexec "$1" "$(windows_path "$msi")" "${@:2}" /qn /l "$(windows_path "$work/msiexec.log")" >/dev/null 2>&1 ||
    status=$?
  [ "$status" -eq 0 ] || { tail -n 20 "$work/msiexec.log" >&2; fail "msiexec $* failed with status $status"; }
}
value() { wine reg query "$1" /ve 2>/dev/null | sed -n 's/^ *(Default) *REG_SZ *//p' | tr -d '\r'; }
has_key() { wine reg query "$1" >/dev/null 2>&1; }
# None of the keys the installation made under root is left.
no_keys_left() {
  local key
  for key in "$classes\\.pxkbx" "$classes\\Rulecast.RuleFile" "$app_path" "$classes\\Applications\\rulecast.exe" \
    'Software\Rulecast'; do
    ! has_key "$1\\$key" || fail "$2: removal left $1\\$key"
  done
}

# This prefix is kept between runs: what a run cut short installed goes first.
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
for product in $(wine reg query "$uninstall" 2>/dev/null | tr -d '\r' | grep -o '{[0-9A-F-]*}$'); do
  if wine reg query "$uninstall\\$product" /v DisplayName 2>/dev/null | grep -q 'REG_SZ *Rulecast'; then
    wine msiexec /x "$product" /qn >/dev/null 2>&1 || true
    wine msiexec /x "$product" ALLUSERS=1 /qn >/dev/null 2>&1 || true
  fi
done
wine reg delete "HKCU\\$classes\\.pxkbx" /f >/dev/null 2>&1 || true
# So does the config.txt that a removal leaves, which remembers an earlier run's folder.
all_users_folder="$WINEPREFIX/drive_c/Program Files/Rulecast"
rm -rf "$all_users_folder" "$users/AppData/Local/Programs/Rulecast" "$users/AppData/Roaming/Rulecast"

msiexec /i
[ -f "$per_user_program" ] && [ -f "$shortcut" ] || fail "per user: no program or no Start-menu shortcut"
[ "$(value "HKCU\\$classes\\.pxkbx")" = Rulecast.RuleFile ] || fail "per user: .pxkbx is not Rulecast's"
[ "$(value "HKCU\\$classes\\Rulecast.RuleFile\\shell\\open\\command")" = \
  "\"C:\\users\\$(whoami)\\AppData\\Local\\Programs\\Rulecast\\rulecast.exe\" --dialog \"%1\"" ] ||
  fail "per user: Open runs $(value "HKCU\\$classes\\Rulecast.RuleFile\\shell\\open\\command")"
[ "$(value "HKCU\\$app_path")" = 'C:\users\'"$(whoami)"'\AppData\Local\Programs\Rulecast\rulecast.exe' ] ||
  fail "per user: App Paths names $(value "HKCU\\$app_path")"
msiexec /x
[ ! -e "$per_user_program" ] && [ ! -e "$shortcut" ] || fail "per user: removal left the program or its shortcut"
no_keys_left HKCU "per user"
# Another program's association stays, before and after; Rulecast only joins "Open with".
wine reg add "HKCU\\$classes\\.pxkbx" /ve /d Other.File /f >/dev/null 2>&1
msiexec /i
[ "$(value "HKCU\\$classes\\.pxkbx")" = Other.File ] || fail "the installer took .pxkbx from another program"
has_key "HKCU\\$classes\\.pxkbx\\OpenWithProgids" || fail "Rulecast is not in Open with"
msiexec /x
[ "$(value "HKCU\\$classes\\.pxkbx")" = Other.File ] || fail "the removal took .pxkbx from another program"
wine reg delete "HKCU\\$classes\\.pxkbx" /f >/dev/null 2>&1
# The mark that another program opens .pxkbx goes with the removal, also when that program let
# .pxkbx go in the meantime.
wine reg add "HKCU\\$classes\\.pxkbx" /ve /d Other.File /f >/dev/null 2>&1
msiexec /i
has_key 'HKCU\Software\Rulecast\PxkbxOpensWithAnother' || fail "no mark that another program opens .pxkbx"
wine reg delete "HKCU\\$classes\\.pxkbx" /f >/dev/null 2>&1
msiexec /x
no_keys_left HKCU "per user, after another program let .pxkbx go"
# The same version built again (another product code) replaces the one installed.
rebuilt="$work/rebuilt.msi"
cp "$msi" "$rebuilt"
(cd "$work" && msiinfo export rebuilt.msi Property >Property.idt &&
  sed -i "s/^ProductCode\t.*/ProductCode\t{$(cat /proc/sys/kernel/random/uuid | tr a-f A-F)}/" Property.idt &&
  msibuild rebuilt.msi -i Property.idt)
msiexec /i
msi="$rebuilt" msiexec /i
entries="$(for root in HKCU HKLM; do wine reg query "$root\\${uninstall#HKLM\\}" /s 2>/dev/null; done |
  tr -d '\r' | grep -c 'DisplayName *REG_SZ *Rulecast$' || true)"
[ "$entries" = 1 ] || fail "the same version installed twice is listed $entries times"
msi="$rebuilt" msiexec /x
[ ! -e "$per_user_program" ] || fail "per user: removing the rebuilt package left the program"
no_keys_left HKCU "per user, the same version installed twice"

msiexec /i ALLUSERS=1
all_users_program="$all_users_folder/rulecast.exe"
[ -f "$all_users_program" ] || fail "for all users: no program under Program Files"
cp "$work/Plant.pxkbx" "$work/Opened.pxkbx"
(cd "$work" && exec wine start /wait /unix "$work/Opened.pxkbx" </dev/null >/dev/null 2>&1) &
program=$!
wait_dialog
convert_shown Opened "opening a rule file"
wait_ended "opening a rule file"
msiexec /x ALLUSERS=1
[ ! -e "$all_users_program" ] || fail "for all users: removal left the program"
# Installed under Program Files, it wrote nothing beside itself, though Wine lets it; the user's
# own files are in the user's folders, and stay.
[ ! -e "$all_users_folder" ] || fail "for all users: removal left $(ls "$all_users_folder")"
[ -f "$users/AppData/Roaming/Rulecast/config.txt" ] || fail "for all users: config.txt is not the user's"
no_keys_left HKLM "for all users"
echo "installer: per user and for all users, a rule file opens in the dialog, removal leaves nothing"
