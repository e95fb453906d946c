#!/usr/bin/env bash
# Undocking: on a 2560 x 1440 screen that becomes 1024 x 768, the prompt, the settings window,
# a notice and the password dialog each show wholly on the new screen, above the taskbar.
# shellcheck disable=SC2317  # functions run through check
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
E2E_DESKTOP_SIZE=2560x1440
e2e_setup
e2e_image sample-a.bmp 320x240 steelblue
t=$E2E_TITLE
e2e_settings UseAnimation=0 ShowSplash=0 'Security\UsePwd=1'
e2e_start_program
check "start-up runs to its end" drv wait TForm5 '*' --timeout 30000
check "the screen becomes 1024 x 768" drv display 1024x768
on_screen() {  # CLASS CAPTION: shown, within the screen and above the taskbar
  local l t r b bar
  drv wait "$1" "$2" --visible --timeout 10000 >/dev/null || return 1
  IFS=, read -r l t r b < <(drv rect "$1" "$2") && IFS=, read -r _ bar _ < <(drv rect Shell_TrayWnd '*')
  ((l >= 0 && t >= 0 && r <= 1024 && b <= bar)) || { echo "$1 at $l,$t,$r,$b; taskbar at $bar"; return 1; }
}
drv tray 515 >/dev/null
check "the password prompt" on_screen TForm5 Password
drv click TForm5 Password Ok >/dev/null
check "the settings window" on_screen TForm1 "$t"
drv mouseclick TForm1 "$t" "Start program automatically at Windows startup" >/dev/null
check "a notice" on_screen TForm3 "Important Information"
drv click TForm1 "$t" "Change.." --nth 1 >/dev/null  # the first is the sound's, on another page
check "the password dialog" on_screen TForm4 '*'
e2e_finish
