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
t=$E2E_TITLE
e2e_keep_desktop
opens() { drv click TForm1 "$t" "$1" "${@:4}" && drv wait "$2" "$3" --visible >/dev/null; }
blocked() { ! drv click TForm1 "$t" Done 2>&1; }
close_from_outside() { wine taskkill /IM Papershift7.exe </dev/null >/dev/null 2>&1; }
# The list: a missing file, then a picture, which is selected from the second start on.
write_list() {
  printf 'C:\\windows\\gone.bmp\r\nC:\\windows\\Web\\Wallpaper\\Windows\\sample-a.bmp\r\n' >"$E2E_APP_DIR/two.kvl"
}
restart() {
  write_list && e2e_settings ItemIndex=1 && e2e_start_program &&
    drv wait TForm5 '*' --timeout 30000 >/dev/null
}
ended_saving() {
  e2e_wait_program_exit 20 && drv msgbox-none && e2e_wait_file "$E2E_APP_DIR/two.kvl"
}
# ends_saving NAME COMMAND...: COMMAND, with the list file gone, ends the program with no
# box left, and the list file is written again as Exit does.
ends_saving() {
  rm -f "$E2E_APP_DIR/two.kvl"
  check "$@"
  check "... ends the program and saves" ended_saving
}
write_list
e2e_settings 'FileListSource=C:\Papershift7\two.kvl' UseAnimation=0

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
ends_saving "Exit Program while the file dialog is open" e2e_exit_program

e2e_settings RestartChange=0
restart
e2e_tray_menu home down enter
check "\"Change Image\" reaches the missing file" drv wait '#32770' "$t" --visible
ends_saving "Exit Program while its error box is open" e2e_exit_program

restart
ends_saving "a close request from outside, as a log-off" close_from_outside
e2e_start_program
check "the next start is not swallowed" drv wait TForm5 '*' --timeout 30000
e2e_finish
