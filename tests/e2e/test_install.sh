#!/usr/bin/env bash
# The installer as a user meets it: a silent per-user install into a fresh prefix, the
# program started the way its Start-menu shortcut starts it, then a silent uninstall
# while it runs.
# shellcheck disable=SC2317  # functions run through check
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
e2e_setup
setup="$PS_PACKAGES/Papershift7-$PS_VERSION-setup.exe"
[ -f "$setup" ] || e2e_abort "missing $setup (made by the ctest entry \"package\")"
# No menu entries on the Linux desktop for the shortcut Wine sees created.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"

# The default list is built from the Windows directory: give it pictures.
e2e_image sample-a.bmp 320x240 steelblue
e2e_image sample-b.jpg 320x240 orange firebrick

user=$(id -un)
dir_win="C:\\users\\$user\\AppData\\Local\\Programs\\Papershift 7"
dir="$WINEPREFIX/drive_c/users/$user/AppData/Local/Programs/Papershift 7"
shortcut="$WINEPREFIX/drive_c/users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Papershift 7.lnk"
uninst_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Papershift 7'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
program_key="HKCU\\$E2E_PROGRAM_KEY"

# -- silent install ------------------------------------------------------------------
check "the installer runs silently and succeeds" \
  wine "$setup" /S </dev/null >"$E2E_DIR/setup.log" 2>&1
installed_files() { (cd "$dir" && ls); }
check_eq "the program, its read-me and the uninstaller are installed" "Papershift7.exe
ReadMe.txt
Uninstall.exe" installed_files
check_eq "the Start-menu shortcut starts the program in its own (writable) folder" \
  "$dir_win\\Papershift7.exe
$dir_win
$dir_win\\Papershift7.exe,0" drv shortcut "$(e2e_winpath "$shortcut")"

entry=$(drv regvalues "$uninst_key")
entry_value() {  # NAME TYPE: the value's data, when it has that registry type
  awk -F'\t' -v n="$1" -v t="$2" '$1 == n && $2 == t { print $3; found = 1 } END { exit !found }' \
    <<<"$entry"
}
check_eq "the uninstall entry's name" "Papershift 7" entry_value DisplayName 1
check_eq "the uninstall entry's version" "$PS_VERSION" entry_value DisplayVersion 1
check_eq "the uninstall entry's publisher" "Kestrova" entry_value Publisher 1
check_eq "the uninstall entry's icon" "$dir_win\\Papershift7.exe,0" entry_value DisplayIcon 1
check_eq "the uninstall entry's command" "\"$dir_win\\Uninstall.exe\"" entry_value UninstallString 1
check_eq "the uninstall entry's silent command" "\"$dir_win\\Uninstall.exe\" /S" \
  entry_value QuietUninstallString 1
check_match "the uninstall entry's size in KB" '^[1-9][0-9]+$' entry_value EstimatedSize 4

# -- the installed program, started as the shortcut starts it ------------------------
(cd "$dir" && exec wine "$dir_win\\Papershift7.exe" </dev/null >"$E2E_DIR/program.log" 2>&1) &
E2E_PROGRAM_PID=$!
check "the installed program finishes its start-up with no error box" e2e_started
check "its icon shows in the notification area" e2e_tray_icon_shown "Papershift 7"
default_list() { tr -d '\r' <"$dir/default.kvl" | sort; }
check_eq "it writes default.kvl into its working directory" "C:\\windows\\Web\\Wallpaper\\Windows\\sample-a.bmp
C:\\windows\\Web\\Wallpaper\\Windows\\sample-b.jpg" default_list

# A silent update over the running copy: the installer asks it to close (it saves and ends
# itself, exit code 0; terminated, it would end with 1) and starts it again.
pid=$(drv pid TWinTaskbar '*')
# Not inside "check": the copy the installer starts keeps the output streams it gets.
wine "$setup" /S </dev/null >"$E2E_DIR/update.log" 2>&1
check_eq "a silent update over the running copy succeeds" 0 echo $?
ended_itself() { wait "$E2E_PROGRAM_PID" && E2E_PROGRAM_PID=; }
check "the copy it closed ended itself" ended_itself
check "and it is started again" drv wait TForm5 '*' --timeout 30000
pid=$(drv pid TWinTaskbar '*')

# Autostart switched off, as the program leaves it (an empty value), and a list file the
# user saved elsewhere.
drv regset "$run_key" Papershift sz "" >/dev/null
elsewhere="$WINEPREFIX/drive_c/users/Public/Documents/holiday.kvl"
mkdir -p "$(dirname "$elsewhere")"
printf 'C:\\windows\\Web\\Wallpaper\\Windows\\sample-a.bmp\r\n' >"$elsewhere"

# -- silent uninstall while the program runs -----------------------------------------
# The uninstaller copies itself away and returns at once: wait for its work.
wine "$dir/Uninstall.exe" /S </dev/null >"$E2E_DIR/uninstall.log" 2>&1
uninstalled() {
  local _
  for _ in $(seq 150); do
    [ ! -e "$dir/Uninstall.exe" ] && ! drv regvalues "$uninst_key" >/dev/null 2>&1 && return 0
    sleep 0.2
  done
  return 1
}
check "the silent uninstall finishes" uninstalled
check "the running program ends" drv wait-exit --pid "$pid" --timeout 20000
icon_gone() { ! drv trayicons | awk -F'\t' '$1 == 1 && $3 == "Papershift 7"' | grep -q .; }
check "and its icon has gone: it ended itself" icon_gone
left_in_folder() { (cd "$dir" && ls); }
check_eq "the program files are gone, the default list stays" "default.kvl" left_in_folder
check "the shortcut is gone" test ! -e "$shortcut"
entry_gone() { ! drv regvalues "$uninst_key" >/dev/null 2>&1; }
check "the uninstall entry is gone" entry_gone
run_value_gone() { ! drv regget "$run_key" Papershift 2>/dev/null; }
check "the Run value is gone" run_value_gone
check "the list file saved elsewhere stays" test -s "$elsewhere"
check_eq "the settings stay" "$PS_VERSION" drv regget "$program_key" "Program Version"

e2e_finish
