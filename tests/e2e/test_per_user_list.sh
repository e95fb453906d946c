#!/usr/bin/env bash
# A working directory that cannot be written (a start from the Run key at logon is in a
# system folder): the default list goes to %LOCALAPPDATA%\Kestrova, and only when that
# cannot be written either does start-up stop with the error box.
# shellcheck disable=SC2317  # functions run through check
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
e2e_setup
e2e_image sample-a.bmp 320x240 steelblue
e2e_image sample-b.jpg 320x240 orange firebrick
p=$E2E_PROGRAM_KEY
e2e_keep_desktop
# Only the immutable flag stops root (Wine ignores read-only); taken off whatever happens.
unlock() { chattr -i "$E2E_APP_DIR" "$per_user" 2>/dev/null; }
trap 'unlock; e2e_teardown' EXIT
chattr +i "$E2E_APP_DIR"
stop() { e2e_exit_program && e2e_wait_program_exit 20; }
restart() { stop && e2e_start_program; }
kvl='C:\\users\\[^\\]+\\AppData\\Local\\Kestrova\\default\.kvl'

e2e_start_program
check "a first start runs to its end with no error box" e2e_started
restart
check_match "the per-user default list is the current list file" "^$kvl$" drv regget "$p" FileListSource
per_user=$(find "$WINEPREFIX/drive_c/users" -path '*/AppData/Local/Kestrova' -type d)
check "it is there" test -s "$per_user/default.kvl"
# Exit writes the list into its file: the file is edited once the program has ended.
stop
printf 'C:\\windows\\Web\\Wallpaper\\Windows\\sample-b.jpg\r\nC:\\windows\\Web\\Wallpaper\\Windows\\sample-a.bmp\r\n' >"$per_user/default.kvl"
e2e_start_program
entries() { drv listbox TForm1 "$E2E_TITLE" | tail -n +2; }
check_eq "the next start loads it" 'C:\windows\Web\Wallpaper\Windows\sample-b.jpg
C:\windows\Web\Wallpaper\Windows\sample-a.bmp' entries

drv regdel "$p" FileListSource >/dev/null
rm "$per_user/default.kvl"
chattr +i "$per_user"
restart
check_match "with neither place writable the error box names the per-user one" \
  "Cannot create file \"$kvl\"" drv msgbox --timeout 30000
unlock
e2e_finish
