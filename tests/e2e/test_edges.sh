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
# Wine ends the desktop once its last program has gone; this window keeps it for the restarts.
wine "$PS_DRIVER" decoy PsKeepDesktop 600000 </dev/null >/dev/null 2>&1 &
exit_program() {
  drv tray 516 --pid "$(drv pid TForm1 "$t")" >/dev/null &&
    drv wait '#32768' '*' --visible --timeout 5000 >/dev/null && drv menu end enter >/dev/null
}
started() { drv wait TForm5 '*' --timeout 30000 >/dev/null && drv msgbox-none --for 1000; }
entries() { drv listbox TForm1 "$t" | tail -n +2; }

# A list of no picture stops start-up at the preview, after the password switch was read.
drv regset "$p\\Security" UsePwd sz 1 >/dev/null
printf 'C:\\Papershift7\\notes.txt\r\n' >"$E2E_APP_DIR/bad.kvl"
drv regset "$p" FileListSource sz 'C:\Papershift7\bad.kvl' >/dev/null
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
exit_program && e2e_wait_program_exit 20
drv regset "$p\\Security" UsePwd sz 0 >/dev/null

# An empty list is no error: start-up runs to its end and says how to add pictures.
: >"$E2E_APP_DIR/empty.kvl"
drv regset "$p" FileListSource sz 'C:\Papershift7\empty.kvl' >/dev/null
e2e_start_program
check "an empty list: start-up runs to its end" started
check "... with a notice how to add pictures" drv wait TForm3 'No pictures yet' --visible
exit_program && e2e_wait_program_exit 20

drv regset "$p" FileListSource sz 'C:\nowhere\mine.kvl' >/dev/null
drv regset "$p" ItemIndex sz 0 >/dev/null
e2e_start_program
check "start-up runs to its end" started
exit_program
check_match "exit asks, naming the file kept" 'C:\\nowhere\\mine\.kvl.*"save file list\.\.".*Exit anyway\?' \
  drv msgbox '&No'
check "a second exit says it no more and ends" exit_program
check "the program ends" e2e_wait_program_exit 20
check "nothing was made where the drive was missing" test ! -e "$WINEPREFIX/drive_c/nowhere"

printf 'C:\\windows\\Web\\Wallpaper\\Windows\\sample-a.bmp\r\nC:\\windows\\Web\\Wallpaper\\Windows\\sample-b.jpg\r\n' >"$E2E_APP_DIR/mine.kvl"
for v in FileListSource='C:\Papershift7\mine.kvl' WallpaperStyle=1 ItemIndex=1; do
  drv regset "$p" "${v%%=*}" sz "${v#*=}" >/dev/null
done
drv regset "$p" UseSound dword 1 >/dev/null
e2e_start_program
check_match "start-up stops at a wrongly typed value" "Invalid data type" drv msgbox --timeout 30000
exit_program && e2e_wait_program_exit 20
stored() { for v in FileListSource WallpaperStyle ItemIndex; do drv regget "$p" $v; done; }
check_eq "exit keeps what start-up did not read" 'C:\Papershift7\mine.kvl
1
1' stored
drv regdel "$p" UseSound >/dev/null

drv regdel "$p" FileListSource >/dev/null
drv regset "$p" ItemIndex sz 0 >/dev/null
printf 'C:\\windows\\Web\\Wallpaper\\Windows\\sample-b.jpg\r\n' >"$E2E_APP_DIR/default.kvl"
e2e_start_program
check "start-up runs to its end" started
check_eq "an existing default.kvl is the list" 'C:\windows\Web\Wallpaper\Windows\sample-b.jpg' entries
exit_program && e2e_wait_program_exit 20
check_eq "and is kept" "C:\\windows\\Web\\Wallpaper\\Windows\\sample-b.jpg"$'\r' cat "$E2E_APP_DIR/default.kvl"
e2e_finish
