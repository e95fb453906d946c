#!/usr/bin/env bash
# Settings as a user's registry leaves them. A wrongly typed value with the password on: the
# prompt still guards the settings, Exit writes the value again as text, and the next start
# runs through. A new password with a character outside the 8-bit code page, typed as a
# keyboard gives it, is refused naming its position. A Run value naming the program's old
# place is brought up to date.
# shellcheck disable=SC2317  # functions run through check
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
e2e_setup
p=$E2E_PROGRAM_KEY
t=$E2E_TITLE
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
convert -size 64x48 xc:steelblue -type TrueColor "BMP3:$E2E_APP_DIR/mine.bmp"
printf 'C:\\Papershift7\\mine.bmp\r\n' >"$E2E_APP_DIR/mine.kvl"
e2e_settings 'FileListSource=C:\Papershift7\mine.kvl' RestartChange=0 AutoStart=1 \
  'Security\UsePwd=1' 'Security\Password=@Y' # "12", scrambled
drv regset "$p" UseSound dword 1 >/dev/null
drv regset "$run_key" Papershift sz 'C:\old place\Papershift7.exe' >/dev/null

answer() { e2e_prompt_open && e2e_prompt_answer "$1"; }
e2e_start_program
check_match "start-up stops at the wrongly typed value" "Invalid data type for 'UseSound'" \
  drv msgbox --timeout 30000
check "an empty entry at the prompt" answer ""
check_eq "... opens nothing" 0 drv visible TForm1 "$t"
check "the password" answer 12
check "... opens the settings" drv wait TForm1 "$t" --visible --timeout 20000

drv click TForm1 "$t" Change.. --nth 1 && drv wait TForm4 '*' --visible >/dev/null
drv type TForm4 '*' Edit 12 --nth 0
for n in 1 2; do drv type TForm4 '*' Edit 'bж' --nth $n; done
drv click TForm4 '*' Ok
check "a new password with a character outside the code page is refused" \
  drv wait TForm3 'Password not accepted' --visible
check_match "... naming its position" 'position 2 ' drv text TForm3 '*' Edit
check_eq "... and the stored one stays" '@Y' drv regget "$p\\Security" Password

e2e_exit_program && e2e_wait_program_exit 20
check_eq "Exit wrote the failed value again as text" '1 0' \
  eval 'echo "$(drv regtype "$p" UseSound) $(drv regget "$p" UseSound)"'
check_eq "the old place in the Run value is brought up to date" 'C:\Papershift7\Papershift7.exe' \
  drv regget "$run_key" Papershift
e2e_start_program
check "the next start runs through with no error box" e2e_started
e2e_finish
