#!/usr/bin/env bash
# What a user meets at the edges, one program run each: the settings asked for while
# start-up is still running (and by a second start), an Exit that cannot save
# everything, a wrongly typed setting, and an existing "default.kvl".
# shellcheck disable=SC2317  # functions run through check
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
e2e_setup
e2e_image sample-a.bmp 320x240 steelblue
e2e_image sample-b.jpg 320x240 orange firebrick
program='Software\Kestrova\Papershift 7\Program'
title='Papershift 7'
# Wine ends the virtual desktop once its last program has gone, and a program started
# while it goes down fails: a window that waits keeps it up between the runs below.
wine "$PS_DRIVER" decoy PsKeepDesktop 600000 </dev/null >/dev/null 2>&1 &

exit_program() {
  local pid
  pid=$(drv pid TForm1 "$title") && drv tray 516 --pid "$pid" >/dev/null &&
    drv wait '#32768' '*' --visible --timeout 5000 >/dev/null && drv menu end enter >/dev/null
}
started() { drv wait TForm5 '*' --timeout 30000 >/dev/null && drv msgbox-none --for 1000; }

# -- the password during start-up ---------------------------------------------------
# An empty list stops start-up at the preview with an error box, after the password
# switch was read.
drv regset "$program\\Security" UsePwd sz 1 >/dev/null
: >"$E2E_APP_DIR/empty.kvl"
drv regset "$program" FileListSource sz 'C:\Papershift7\empty.kvl' >/dev/null
e2e_start_program
check "the start-up error box is open" drv wait '#32770' "$title" --visible --timeout 30000
# Newer than the icon's window, so found first by its class.
wine "$PS_DRIVER" decoy TWinTaskbar 15000 </dev/null >"$E2E_DIR/decoy.out" 2>&1 &
decoy=$!
two_icon_windows() {
  local _
  for _ in $(seq 50); do
    [ "$(drv windows | awk -F'\t' '$2 == "TWinTaskbar"' | wc -l)" = 2 ] && return 0
    sleep 0.2
  done
  return 1
}
check "another program's window has the icon window's class" two_icon_windows
second_start() { (cd "$E2E_APP_DIR" && timeout 30 wine Papershift7.exe </dev/null >/dev/null 2>&1); }
check "a second start during start-up ends by itself" second_start
sleep 1
check_eq "the settings window stays hidden" 0 drv visible TForm1 "$title"
check_match "the box was the preview's" "List index out of bounds \(-1\)" drv msgbox
check "after start-up the second start's request shows the prompt" \
  drv wait TForm5 '*' --visible --timeout 10000
check_eq "and not the settings window" 0 drv visible TForm1 "$title"
wait "$decoy"
check_eq "the other program's window got nothing" 0 cat "$E2E_DIR/decoy.out"
exit_program
e2e_wait_program_exit 20
drv regset "$program\\Security" UsePwd sz 0 >/dev/null

# -- an Exit that cannot save everything -----------------------------------------------
drv regset "$program" FileListSource sz 'C:\nowhere\mine.kvl' >/dev/null
drv regset "$program" ItemIndex sz 0 >/dev/null
e2e_start_program
check "start-up runs to its end" started
check "exit asks before ending without the list" exit_program
check_match "naming the file, pointing to the save button" \
  'C:\\nowhere\\mine\.kvl.*"save file list\.\.".*Exit anyway\?' drv msgbox '&No'
check "No keeps the program running" drv wait TForm1 "$title" --timeout 2000
check "a second exit says it no more and ends" exit_program
check "the program ends" e2e_wait_program_exit 20
check "nothing was made where the drive was missing" test ! -e "$WINEPREFIX/drive_c/nowhere"
check_eq "the stored list file is kept" 'C:\nowhere\mine.kvl' drv regget "$program" FileListSource

# -- a wrongly typed setting -----------------------------------------------------------
printf 'C:\\windows\\sample-a.bmp\r\nC:\\windows\\sample-b.jpg\r\n' >"$E2E_APP_DIR/mine.kvl"
for pair in FileListSource='C:\Papershift7\mine.kvl' WallpaperStyle=1 ChangeIntervalTime=7 \
  ItemIndex=1; do
  drv regset "$program" "${pair%%=*}" sz "${pair#*=}" >/dev/null
done
drv regset "$program" UseSound dword 1 >/dev/null
e2e_start_program
check_match "start-up stops at the wrongly typed value" "Invalid data type for 'UseSound'" \
  drv msgbox --timeout 30000
exit_program
check "exit ends" e2e_wait_program_exit 20
stored() {
  local v
  for v in FileListSource WallpaperStyle ChangeIntervalTime ItemIndex; do
    printf '%s=%s\n' "$v" "$(drv regget "$program" "$v")"
  done
}
check_eq "exit keeps what start-up did not read" 'FileListSource=C:\Papershift7\mine.kvl
WallpaperStyle=1
ChangeIntervalTime=7
ItemIndex=1' stored
check_eq "the list file is untouched" 2 grep -c . "$E2E_APP_DIR/mine.kvl"
drv regdel "$program" UseSound >/dev/null

# -- an existing default.kvl -----------------------------------------------------------
drv regdel "$program" FileListSource >/dev/null
drv regset "$program" ItemIndex sz 0 >/dev/null
printf 'C:\\windows\\sample-b.jpg\r\n' >"$E2E_APP_DIR/default.kvl"
e2e_start_program
check "start-up runs to its end" started
entries() { drv listbox TForm1 "$title" | tail -n +2; }
check_eq "the list is the one in default.kvl" 'C:\windows\sample-b.jpg' entries
exit_program
e2e_wait_program_exit 20
lines_of() { tr -d '\r' <"$1"; }
check_eq "default.kvl still holds it" 'C:\windows\sample-b.jpg' lines_of "$E2E_APP_DIR/default.kvl"

e2e_finish
