#!/usr/bin/env bash
# A list file with an entry of 100 000 characters, taken through every step that reads
# the list back from its box: the load, a preview, Done, a change (sorting on), Cancel
# and Exit. The program runs on, and the list file keeps the entry whole.
# shellcheck disable=SC2317  # functions run through check
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
e2e_setup

e2e_image a.bmp 64x48 steelblue
e2e_image b.jpg 64x48 orange

program='Software\Kestrova\Papershift 7\Program'
title='Papershift 7'
# It sorts first, so that sorting moves it and the selected JPEG keeps its place.
long="C:\\$(printf 'a%.0s' $(seq 99988))\\gone.bmp"
kvl="$E2E_APP_DIR/long.kvl"
printf '%s\r\n' 'C:\windows\a.bmp' "$long" 'C:\windows\b.jpg' >"$kvl"
want_file=$(od -An -tx1 "$kvl" | md5sum)

e2e_start_program
check "the program starts" drv wait TForm5 '*' --timeout 30000
pid=$(drv pid TWinTaskbar '*')

settled() {
  local _ a b
  for _ in $(seq 50); do
    a=$(drv rect TForm1 "$title") && sleep 0.2 && b=$(drv rect TForm1 "$title") &&
      [ "$a" = "$b" ] && return 0
  done
  return 1
}
open_settings() {
  drv trayicon-click "$title" 515 >/dev/null &&
    drv wait TForm1 "$title" --visible --timeout 10000 >/dev/null && settled
}
entries_intact() {
  local got
  got=$(drv listbox TForm1 "$title") || return 1
  grep -qxF -- "$long" <<<"$got" && [ "$(wc -l <<<"$got")" -eq 4 ] ||
    { cut -c1-80 <<<"$got"; return 1; }
}
file_intact() { [ "$(od -An -tx1 "$kvl" | md5sum)" = "$want_file" ]; }
alive() { [ "$(drv pid-alive "$pid")" = 1 ]; }

check "open the settings" open_settings
check "the page \"File List\"" drv tab TForm1 "$title" 2
check "press \"load file list..\"" drv click TForm1 "$title" "load file list.."
check "the open dialog takes the long list" drv filedialog 'C:\Papershift7\long.kvl' --timeout 10000
check "no error box after the load" drv msgbox-none --for 1000
check "the list shows every entry whole" entries_intact

check "select the long entry" drv listselect TForm1 "$title" 1
# The box's text (the whole path) is too long to read back in time; its showing is the check.
check "its preview reports the missing file in the error box" drv msgbox --timeout 20000
check "the program runs on after the preview" alive
check "select the JPEG again" drv listselect TForm1 "$title" 2
check "no error box after its preview" drv msgbox-none --for 1000

check "press Done" drv click TForm1 "$title" Done
check "Done hides the window" drv wait TForm1 "$title" --hidden --timeout 20000
check "no error box after Done" drv msgbox-none --for 1000
check "the program runs on after Done" alive
check "Done writes the list file unchanged" file_intact

check "open the settings again" open_settings
check "the page \"Change Options\"" drv tab TForm1 "$title" 1
check "sorting on re-sorts the list" drv setcheck TForm1 "$title" \
  "Sort the images in your files list automatically by name and location" 1
check "the program runs on after sorting" alive
check "press Cancel" drv click TForm1 "$title" Cancel
check "Cancel hides the window" drv wait TForm1 "$title" --hidden --timeout 20000
check "no error box after Cancel" drv msgbox-none --for 1000
check "the list keeps the long entry" entries_intact

check "right press on the icon opens the menu" drv tray 516
check "the menu is open" drv wait '#32768' '*' --visible --timeout 5000
check "choose Exit Program" drv menu end enter
check "the program ends" drv wait-exit --pid "$pid" --timeout 20000
sorted_file=$(printf '%s\r\n' "$long" 'C:\windows\a.bmp' 'C:\windows\b.jpg' | od -An -tx1 | md5sum)
check_eq "Exit writes the sorted list, the long entry whole" "$sorted_file" \
  bash -c "od -An -tx1 '$kvl' | md5sum"
check_eq "the selection is stored" 2 drv regget "$program" ItemIndex

e2e_finish
