#!/usr/bin/env bash
# A user's first start on a stock layout: no settings yet, no picture in the Windows
# directory itself, three among the system's wallpapers in two theme folders.
# The program starts hidden with its icon in the notification area, the icon's
# double-click shows the settings window, and "Exit Program" in the icon's menu ends
# the process and leaves every setting in the registry.
# shellcheck disable=SC2317  # functions run through check
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
e2e_setup

e2e_image sample-a.bmp 320x240 steelblue
e2e_image sample-b.jpg 320x240 orange firebrick
e2e_image Theme1/sample-c.bmp 160x120 seagreen
three="C:\\windows\\Web\\Wallpaper\\Theme1\\sample-c.bmp
C:\\windows\\Web\\Wallpaper\\Windows\\sample-a.bmp
C:\\windows\\Web\\Wallpaper\\Windows\\sample-b.jpg"

program=$E2E_PROGRAM_KEY
security="$program\\Security"
title=$E2E_TITLE

# shellcheck disable=SC2119  # no arguments: the program has no options
e2e_start_program

# -- start-up --------------------------------------------------------------------
check "the notification icon's window exists" drv wait TWinTaskbar '*' --timeout 30000
# The password prompt is created last: once it exists the start-up sequence is over.
all_forms_created() {
  local c
  for c in TForm3 TForm1 TForm2 TForm4 TForm5; do
    drv wait "$c" '*' --timeout 20000 >/dev/null || return 1
  done
}
check "all five windows are created" all_forms_created
check "no error box at start" drv msgbox-none --for 1000
check_eq "the settings window is hidden at start" 0 drv visible TForm1 "$title"
check_eq "the message window is hidden at start" 0 drv visible TForm3 '*'
check_eq "the version is stored" "7.0.1" drv regget "$program" "Program Version"
pid=$(drv pid TWinTaskbar '*')

# Wine's taskbar draws the icons itself; each icon has a tool tip over its place.
icon_in_notification_area() {
  local bar icons _
  for _ in $(seq 50); do
    bar=$(drv rect Shell_TrayWnd '*') && icons=$(drv trayicons) &&
      awk -F'\t' -v bar="$bar" -v tip="$title" '
        $1 == 1 && $3 == tip {
          split(bar, b, ","); split($2, r, ",")
          if (r[1] >= b[1] && r[3] <= b[3] && r[2] >= b[2] && r[4] <= b[4] && r[3] > b[3] - 200) found = 1
        }
        END { exit !found }' <<<"$icons" && return 0
    sleep 0.2
  done
  echo "taskbar: $bar"
  echo "icons: $icons"
  return 1
}
check "the icon with the tip \"$title\" is at the right of the taskbar" icon_in_notification_area

# First start: entry 0 is selected, and the start-up change (on by default) installs
# entry 1 and stores its index.
check_eq "the start-up change stored the index of entry 1" 1 drv regget "$program" ItemIndex

# -- settings window through the icon's double-click -------------------------------
check "the double-click on the icon shows the settings window" e2e_show_settings

# With animation on (the default) the window slides in from the right and comes to
# rest centred: left = 1024 div 2 - width div 2.
settled_centred() {
  local rect left right _
  for _ in $(seq 100); do
    [ "$(drv visible TForm1 "$title")" = 1 ] || { echo "not visible"; return 1; }
    rect=$(drv rect TForm1 "$title") || return 1
    IFS=, read -r left _ right _ <<<"$rect"
    [ "$left" -eq $((512 - (right - left) / 2)) ] && return 0
    sleep 0.2
  done
  echo "window at $rect"
  return 1
}
check "the settings window comes to rest centred" settled_centred
# All forms are owned by a hidden tool window: no taskbar button, even when shown.
no_taskbar_button() {
  local buttons
  buttons=$(drv taskbar) || return 1
  ! grep -P "\tpid=$pid\t" <<<"$buttons"
}
check "the settings window has no taskbar button" no_taskbar_button
check_eq "four pages, the first one active" "0
Basic Options
Change Options
File List
About" drv tabs TForm1 "$title"
check "no error box after showing the settings" drv msgbox-none

list=$(drv listbox TForm1 "$title")
entries() { tail -n +2 <<<"$list" | sort; }
check_eq "the image list holds the three pictures" "$three" entries
check_eq "entry 1 is selected after the start-up change" 1 head -n 1 <<<"$list"

# The desktop values name entry 1, a JPEG through its converted bitmap.
entry1=$(sed -n 3p <<<"$list")
case "$entry1" in
  '') wallpaper='(no entry 1 in the list)' ;;
  *.jpg) wallpaper='C:\windows\Kestrova.bmp' ;;
  *) wallpaper=$entry1 ;;
esac
check_eq "the wallpaper is entry 1" "$wallpaper" drv regget 'Control Panel\Desktop' Wallpaper

e2e_screenshot "$PS_ARTIFACTS/startup-settings.png"
check "screenshot of the settings window" test -s "$PS_ARTIFACTS/startup-settings.png"

# -- Exit Program ------------------------------------------------------------------
check "Exit Program, the last entry of the icon's menu" e2e_exit_program
check "the program's process ends" drv wait-exit --pid "$pid" --timeout 20000
check "the Linux process ends too" e2e_wait_program_exit 10
icon_gone() {
  ! drv trayicons | awk -F'\t' -v tip="$title" '$1 == 1 && $3 == tip' | grep -q .
}
check "the icon has left the notification area" icon_gone

# Exit saves every setting, each as text (registry type 1, REG_SZ).
values=$(drv regvalues "$program")
security_values=$(drv regvalues "$security")
expect_value() {
  local dump=$1 name=$2 want=$3 line type got
  line=$(awk -F'\t' -v n="$name" '$1 == n' <<<"$dump")
  [ -n "$line" ] || { echo "$name is missing"; return 1; }
  IFS=$'\t' read -r _ type got <<<"$line"
  [ "$type" = 1 ] || { echo "$name has registry type $type, not REG_SZ"; return 1; }
  [[ $got =~ ^$want$ ]] || { echo "$name = \"$got\", expected /$want/"; return 1; }
}
for pair in "AutoStart=0" "ShowSplash=1" "UseAnimation=1" "TimeInterval=0" "Randomize=0" \
  "UseSound=0" "RestartChange=1" "ChangeIntervalTime=15" "SoundFileName=< default sound >" \
  "WallpaperStyle=2" "FileListSorted=0" "ItemIndex=1" 'FileListSource=.*\\default\.kvl'; do
  check "exit stores ${pair%%=*}" expect_value "$values" "${pair%%=*}" "${pair#*=}"
done
check "exit stores UsePwd under Security" expect_value "$security_values" UsePwd 0

# The default list file is where FileListSource says, and holds the three pictures.
kvl=$(drv regget "$program" FileListSource)
kvl_unix="$WINEPREFIX/drive_c/$(sed -e 's/^[Cc]:\\//' -e 's/\\/\//g' <<<"$kvl")"
list_file_entries() { tr -d '\r' <"$kvl_unix" | grep . | sort; }
check_eq "the default list file holds the three pictures" "$three" list_file_entries

e2e_finish
