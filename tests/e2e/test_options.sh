#!/usr/bin/env bash
# The guarded settings window and the ways out of it. With the password on, the icon's
# double-click asks for it first: a wrong one (a case difference is enough) closes the
# prompt, the right one opens the window. "Done" stores the settings, "Cancel" puts the
# stored ones back, and ticking the autostart box with the mouse enters the program in
# the user's Run key.
# shellcheck disable=SC2317  # functions run through check
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
e2e_setup

e2e_image sample-a.bmp 320x240 steelblue
e2e_image sample-b.jpg 320x240 orange firebrick

program=$E2E_PROGRAM_KEY
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
title=$E2E_TITLE
password='Tulip7x'
splash_box='Show splash-image at Papershift programstart'
autostart_box='Start program automatically at Windows startup'
start_change_box='Change wallpaper image every time I restart windows'

# The stored form: each character exclusive-or the key character it meets, the first
# meeting the key's second. As "hex(1)" bytes of a REGEDIT4 file, which holds any byte;
# lower-case letters against the lower-case key give control characters.
scrambled_hex() {
  local text=$1 key=wqkzdvmrt k=0 i c out=
  for ((i = 0; i < ${#text}; i++)); do
    k=$(((k + 1) % ${#key}))
    c=$(($(printf '%d' "'${text:i:1}") ^ $(printf '%d' "'${key:k:1}")))
    # A zero would cut the stored text short.
    [ "$c" -ne 0 ] || return 1
    out+=$(printf '%02x,' "$c")
  done
  printf '%s00\n' "$out"
}
hex=$(scrambled_hex "$password") || e2e_abort "the test password scrambles to a zero"
cat >"$E2E_DIR/password.reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Kestrova\\Papershift 7\\Program\\Security]
"UsePwd"="1"
"Password"=hex(1):$hex
REG
wine regedit /S "$(e2e_winpath "$E2E_DIR/password.reg")" </dev/null >/dev/null 2>&1 ||
  e2e_abort "cannot store the password"
[ "$(drv regget "$program\\Security" UsePwd)" = 1 ] || e2e_abort "the password setting is not stored"

# shellcheck disable=SC2119  # no arguments: the program has no options
e2e_start_program
check "the program starts with no error box" e2e_started

# -- the prompt ------------------------------------------------------------------------
settings_stay_hidden() {
  sleep 1
  [ "$(drv visible TForm1 "$title")" = 0 ] || { echo "the settings window is shown"; return 1; }
}

check "the double-click shows the prompt" e2e_prompt_open
check "... and not the settings window" settings_stay_hidden
# Bottom right, near the notification area, on the 1024 x 768 desktop.
near_tray() {
  local l t r b
  IFS=, read -r l t r b <<<"$(drv rect TForm5 Password)"
  if [ "$l" -ne $((1024 - (r - l) - 2)) ] || [ "$t" -ne $((768 - (b - t) - 30)) ]; then
    echo "prompt at $l,$t,$r,$b"
    return 1
  fi
}
check "the prompt sits in the bottom right corner" near_tray

check "a wrong password (letter case) closes the prompt" e2e_prompt_answer "${password,}"
check "... without opening the settings window" settings_stay_hidden
check_eq "... and leaves the field empty" "" drv text TForm5 Password Edit

check "typed into and left with Escape" eval 'e2e_prompt_open && drv settext TForm5 Password Edit abc && drv keys escape'
check_eq "... the prompt opens again empty" "" eval 'drv wait TForm5 Password --hidden >/dev/null && e2e_prompt_open && drv text TForm5 Password Edit'
check "the right password closes the prompt" e2e_prompt_answer "$password"
check "... and opens the settings window" drv wait TForm1 "$title" --visible --timeout 20000

settled() { e2e_window_at_rest TForm1 "$title"; }
check "the settings window comes to rest" settled

# -- Done ------------------------------------------------------------------------------
check_eq "the splash box is ticked (default)" 1 drv check TForm1 "$title" "$splash_box"
check "untick it" drv setcheck TForm1 "$title" "$splash_box" 0
check "press Done" drv click TForm1 "$title" Done
check "Done hides the settings window" drv wait TForm1 "$title" --hidden --timeout 20000
check "no error box after Done" drv msgbox-none --for 500
check_eq "Done stores ShowSplash" 0 drv regget "$program" ShowSplash
check_eq "Done stores UsePwd" 1 drv regget "$program\\Security" UsePwd
check_eq "Done stores the other settings too" 15 drv regget "$program" ChangeIntervalTime

open_settings() {
  e2e_prompt_open && e2e_prompt_answer "$password" &&
    drv wait TForm1 "$title" --visible --timeout 20000 >/dev/null && settled
}

# -- Cancel ----------------------------------------------------------------------------
check "open the settings again" open_settings
check_eq "the box shows the stored state" 0 drv check TForm1 "$title" "$splash_box"
check "tick it" drv setcheck TForm1 "$title" "$splash_box" 1
check "press Cancel" drv click TForm1 "$title" Cancel
check "Cancel hides the settings window" drv wait TForm1 "$title" --hidden --timeout 20000
check "no error box after Cancel" drv msgbox-none --for 500
check_eq "Cancel stores nothing" 0 drv regget "$program" ShowSplash
check "open the settings once more" open_settings
check_eq "the box is back to the stored state" 0 drv check TForm1 "$title" "$splash_box"

# -- autostart -------------------------------------------------------------------------
start_change_state() {
  drv tab TForm1 "$title" 1 >/dev/null || return 1
  drv state TForm1 "$title" Button "$start_change_box"
}
no_run_value() { ! drv regget "$run_key" Papershift 2>/dev/null; }
check "no Run value before" no_run_value
check_eq "the restart box is hidden while autostart is off" "0 1" start_change_state
check "back to the page \"Basic Options\"" drv tab TForm1 "$title" 0
check_eq "the autostart box is off" 0 drv check TForm1 "$title" "$autostart_box"
check "click the autostart box with the mouse" drv mouseclick TForm1 "$title" "$autostart_box"
check "the notice shows" drv wait TForm3 'Important Information' --visible --timeout 10000
check_eq "the notice's text" \
  'If your spyware-detection-software or your AntiVirus program asks if Papershift7 is entitled to do system-changes, then please reply: "yes"!' \
  drv text TForm3 'Important Information' Edit
check_eq "the box is ticked" 1 drv check TForm1 "$title" "$autostart_box"
check_eq "the Run value \"Papershift\" is the program's path" \
  "$E2E_APP_DIR_WIN\\Papershift7.exe" drv regget "$run_key" Papershift
check_eq "the Run value is text (REG_SZ)" 1 drv regtype "$run_key" Papershift
check_eq "the restart box shows with autostart on" "1 1" start_change_state
check "no error box after the autostart click" drv msgbox-none --for 500

e2e_finish
