#!/usr/bin/env bash
# The edges, one run each: the settings asked for during start-up (also by a second
# start, with another program's window of the icon window's class about), an Exit that
# cannot save everything, a wrongly typed setting, an existing "default.kvl".
# shellcheck disable=SC2317  # functions run through check
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
e2e_setup
e2e_image sample-a.bmp 320x240 steelblue
e2e_image sample-b.jpg 320x240 orange firebrick
p=$E2E_PROGRAM_KEY
t=$E2E_TITLE
e2e_keep_desktop
entries() { drv listbox TForm1 "$t" | tail -n +2; }

# A list of no picture stops start-up at the preview, after the password switch was read.
printf 'C:\\Papershift7\\notes.txt\r\n' >"$E2E_APP_DIR/bad.kvl"
e2e_settings 'Security\UsePwd=1' 'FileListSource=C:\Papershift7\bad.kvl'
e2e_start_program
drv wait '#32770' "$t" --visible --timeout 30000 >/dev/null
wine "$PS_DRIVER" decoy TWinTaskbar 12000 </dev/null >"$E2E_DIR/decoy.out" 2>&1 &
sleep 3
(cd "$E2E_APP_DIR" && timeout 30 wine Papershift7.exe </dev/null >/dev/null 2>&1)
check_eq "a second start during start-up opens nothing" 0 drv visible TForm1 "$t"
check_match "start-up stopped at the preview" "Unknown picture file extension" drv msgbox
check "once start-up is over, the prompt shows" drv wait TForm5 '*' --visible --timeout 10000
check_eq "and not the settings" 0 drv visible TForm1 "$t"
wait $!
check_eq "the other program's window got nothing" 0 cat "$E2E_DIR/decoy.out"
e2e_exit_program && e2e_wait_program_exit 20

# An empty list is no error: start-up runs to its end and says how to add pictures.
: >"$E2E_APP_DIR/empty.kvl"
e2e_settings 'Security\UsePwd=0' 'FileListSource=C:\Papershift7\empty.kvl'
e2e_start_program
check "an empty list: start-up runs to its end" e2e_started
check "... with a notice how to add pictures" drv wait TForm3 'No pictures yet' --visible
e2e_exit_program && e2e_wait_program_exit 20

e2e_settings 'FileListSource=C:\nowhere\mine.kvl' ItemIndex=0
e2e_start_program
check "start-up runs to its end" e2e_started
e2e_exit_program
check_match "exit asks, naming the file kept" 'C:\\nowhere\\mine\.kvl.*"save file list\.\.".*Exit anyway\?' \
  drv msgbox '&No'
check "a second exit says it no more and ends" e2e_exit_program
check "the program ends" e2e_wait_program_exit 20
check "nothing was made where the drive was missing" test ! -e "$WINEPREFIX/drive_c/nowhere"

printf 'C:\\windows\\Web\\Wallpaper\\Windows\\sample-a.bmp\r\nC:\\windows\\Web\\Wallpaper\\Windows\\sample-b.jpg\r\n' >"$E2E_APP_DIR/mine.kvl"
e2e_settings 'FileListSource=C:\Papershift7\mine.kvl' WallpaperStyle=1 ItemIndex=1
drv regset "$p" UseSound dword 1 >/dev/null
e2e_start_program
check_match "start-up stops at a wrongly typed value" "Invalid data type" drv msgbox --timeout 30000
e2e_exit_program && e2e_wait_program_exit 20
stored() { for v in FileListSource WallpaperStyle ItemIndex; do drv regget "$p" $v; done; }
check_eq "exit keeps what start-up did not read" 'C:\Papershift7\mine.kvl
1
1' stored
drv regdel "$p" UseSound >/dev/null

drv regdel "$p" FileListSource >/dev/null
e2e_settings ItemIndex=0
printf 'C:\\windows\\Web\\Wallpaper\\Windows\\sample-b.jpg\r\n' >"$E2E_APP_DIR/default.kvl"
e2e_start_program
check "start-up runs to its end" e2e_started
check_eq "an existing default.kvl is the list" 'C:\windows\Web\Wallpaper\Windows\sample-b.jpg' entries
e2e_exit_program && e2e_wait_program_exit 20
check_eq "and is kept" "C:\\windows\\Web\\Wallpaper\\Windows\\sample-b.jpg"$'\r' cat "$E2E_APP_DIR/default.kvl"
e2e_finish
