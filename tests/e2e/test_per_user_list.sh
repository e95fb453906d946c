#!/usr/bin/env bash
# A start whose working directory cannot be written (a start from the Run key at logon
# is in a system folder): the default list goes to %LOCALAPPDATA%\Kestrova instead,
# and only when that cannot be written either does start-up stop with the error box.
# shellcheck disable=SC2317  # functions run through check
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
e2e_setup
e2e_image sample-a.bmp 320x240 steelblue
e2e_image sample-b.jpg 320x240 orange firebrick
program='Software\Kestrova\Papershift 7\Program'
wine "$PS_DRIVER" decoy PsKeepDesktop 600000 </dev/null >/dev/null 2>&1 &  # see test_edges.sh
exit_program() {
  drv tray 516 >/dev/null && drv wait '#32768' '*' --visible --timeout 5000 >/dev/null &&
    drv menu end enter >/dev/null && e2e_wait_program_exit 20
}
e2e_immutable "$E2E_APP_DIR"

e2e_start_program
check "a first start runs to its end" drv wait TForm5 '*' --timeout 30000
check "with no error box" drv msgbox-none --for 1000
check "exit ends" exit_program
check_match "the per-user default list is the current list file" \
  '^C:\\users\\[^\\]+\\AppData\\Local\\Kestrova\\default\.kvl$' drv regget "$program" FileListSource
per_user_dir=$(find "$WINEPREFIX/drive_c/users" -path '*/AppData/Local/Kestrova' -type d)
# Edited by the user: the other order.
printf 'C:\\windows\\sample-b.jpg\r\nC:\\windows\\sample-a.bmp\r\n' >"$per_user_dir/default.kvl"
e2e_start_program
check "the next start runs to its end" drv wait TForm5 '*' --timeout 30000
entries() { drv listbox TForm1 'Papershift 7' | tail -n +2; }
check_eq "and loads the per-user list" 'C:\windows\sample-b.jpg
C:\windows\sample-a.bmp' entries
check "exit ends" exit_program

# Neither place can be written.
drv regdel "$program" FileListSource >/dev/null
rm "$per_user_dir/default.kvl"
e2e_immutable "$per_user_dir"
e2e_start_program
check_match "the error box names the per-user place" \
  'Cannot create file "C:\\users\\[^\\]+\\AppData\\Local\\Kestrova\\default\.kvl"' \
  drv msgbox --timeout 30000
e2e_finish
