#!/usr/bin/env bash
# Reported, never passed off as done: a deleted picture at start, ".jpeg" and missing pictures, Cancel.
# shellcheck disable=SC2317,SC2119  # functions run through check; the program takes no arguments
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
e2e_setup
pics=$WINEPREFIX/drive_c/pics t=$E2E_TITLE
mkdir -p "$pics" && convert -size 32x24 xc:red "BMP3:$pics/red.bmp" && convert -size 32x24 xc:blue "$pics/photo.jpeg"
printf '%s\r\n' 'C:\pics\red.bmp' 'C:\pics\gone.bmp' 'C:\pics\photo.jpeg' >"$pics/mine.kvl"
e2e_settings 'FileListSource=C:\pics\mine.kvl' ItemIndex=1 TimeInterval=1 ChangeIntervalTime=1 \
  ShowSplash=0 UseAnimation=0
wallpaper() { drv regget 'Control Panel\Desktop' Wallpaper; }
gone='^Cannot open file "C:\\pics\\gone\.bmp"\. ' list=$'2\nC:\\pics\\red.bmp\nC:\\pics\\gone.bmp\nC:\\pics\\photo.jpeg'
e2e_start_program
check_match "start-up reports the deleted picture" "$gone" drv msgbox --timeout 30000
check "... and runs to its end" drv wait TForm5 '*' --timeout 30000
check_eq "... whose change installs the .jpeg picture" 'C:\windows\Kestrova.bmp' wallpaper
settings() { e2e_show_settings && drv tab TForm1 "$t" 2 >/dev/null; }
check "the settings window shows" settings
drv listselect TForm1 "$t" 1 && drv msgbox >/dev/null # its preview's report
check_match '"change now" reports the missing bitmap' "$gone" eval "drv click TForm1 '$t' 'change now' && drv msgbox"
check_eq "... and installs nothing" 'C:\windows\Kestrova.bmp' wallpaper
check "remove, sort, new list, Cancel" eval "drv click TForm1 '$t' 'remove file' && drv tab TForm1 '$t' 1 && drv setcheck TForm1 '$t' 'Sort the images in your files list automatically by name and location' 1 &&
  drv tab TForm1 '$t' 2 && drv click TForm1 '$t' 'new list' && drv click TForm1 '$t' Cancel && drv wait TForm1 '$t' --hidden"
check_eq "the list is back as in its file" "$list" drv listbox TForm1 "$t"
timed() { local end=$((SECONDS + 75)); until [ "$(wallpaper)" = 'C:\pics\red.bmp' ]; do ((SECONDS < end)) && sleep 1 || return 1; done; }
check "the next timed change comes a minute after Cancel" timed
e2e_finish
