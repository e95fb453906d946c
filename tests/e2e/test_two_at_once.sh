#!/usr/bin/env bash
# Two things at once, as a user meets them: a double-click during start-up's error box is
# answered once start-up is over; a reaction's error box blocks the settings window; the
# password dialog closes with the settings window; "Exit Program" ends the program while a
# file dialog or an error box is open; a close request from outside saves and ends.
# shellcheck disable=SC2317  # functions run through check
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
e2e_setup
e2e_image sample-a.bmp 320x240 steelblue
p=$E2E_PROGRAM_KEY
t=$E2E_TITLE
# Wine ends the desktop once its last program has gone; this window keeps it for the restarts.
wine "$PS_DRIVER" decoy PsKeepDesktop 600000 </dev/null >/dev/null 2>&1 &
exit_program() {
  drv tray 516 >/dev/null && drv wait '#32768' '*' --visible --timeout 5000 >/dev/null &&
    drv menu end enter >/dev/null
}
# The program ends with no box left, and wrote the list file again as Exit does.
ended_saving() {
  e2e_wait_program_exit 20 && drv msgbox-none && e2e_wait_file "$E2E_APP_DIR/two.kvl"
}
opens() { drv click TForm1 "$t" "$1" "${@:4}" && drv wait "$2" "$3" --visible >/dev/null; }
blocked() { ! drv click TForm1 "$t" Done 2>&1; }
close_from_outside() { wine taskkill /IM Papershift7.exe </dev/null >/dev/null 2>&1; }
# The list: a missing file, then a picture, which is selected from the second start on.
write_list() {
  printf 'C:\\windows\\gone.bmp\r\nC:\\windows\\Web\\Wallpaper\\Windows\\sample-a.bmp\r\n' >"$E2E_APP_DIR/two.kvl"
}
restart() {
  write_list && drv regset "$p" ItemIndex sz 1 >/dev/null && e2e_start_program &&
    drv wait TForm5 '*' --timeout 30000 >/dev/null
}
write_list
drv regset "$p" FileListSource sz 'C:\Papershift7\two.kvl' >/dev/null
drv regset "$p" UseAnimation sz 0 >/dev/null

e2e_start_program
drv wait '#32770' "$t" --visible --timeout 30000 >/dev/null
check "a double-click during start-up's error box" drv tray 515
check_match "start-up stopped at the missing file" "Cannot open file" drv msgbox
check "once start-up is over, the settings window shows" drv wait TForm1 "$t" --visible

drv tab TForm1 "$t" 2 >/dev/null && drv listselect TForm1 "$t" 1 >/dev/null
drv tab TForm1 "$t" 0 >/dev/null
drv setcheck TForm1 "$t" 'Use a password to protect your settings' 1 >/dev/null
check "\"Change..\" opens the password dialog" opens Change.. TForm4 'Set Password..' --nth 1
check "Done hides the settings window" drv click TForm1 "$t" Done
check "and the password dialog with it" drv wait TForm4 'Set Password..' --hidden

drv tray 515 >/dev/null && drv wait TForm5 Password --visible >/dev/null &&
  drv click TForm5 Password Ok >/dev/null
drv wait TForm1 "$t" --visible >/dev/null && drv tab TForm1 "$t" 2 >/dev/null
drv click TForm1 "$t" "new list" >/dev/null
check "\"change now\" with nothing selected opens the error box" opens "change now" '#32770' "$t"
check "the settings window takes no click while it is open" blocked
check_match "one box, for the selection" "List index out of bounds" drv msgbox
check "and no other" drv msgbox-none

check "\"add file(s)..\" opens the file dialog" opens 'add file(s)..' '#32770' '*'
rm -f "$E2E_APP_DIR/two.kvl"
check "Exit Program while the file dialog is open" exit_program
check "ends the program and saves" ended_saving

drv regset "$p" RestartChange sz 0 >/dev/null
restart
drv tray 516 >/dev/null && drv menu home down enter >/dev/null
check "\"Change Image\" reaches the missing file" drv wait '#32770' "$t" --visible
rm -f "$E2E_APP_DIR/two.kvl"
check "Exit Program while its error box is open" exit_program
check "ends the program and saves" ended_saving

restart
rm -f "$E2E_APP_DIR/two.kvl"
check "a close request from outside" close_from_outside
check "ends the program as a log-off does, saving" ended_saving
e2e_start_program
check "the next start is not swallowed" drv wait TForm5 '*' --timeout 30000
e2e_finish
