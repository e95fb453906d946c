#!/usr/bin/env bash
# An entry of 100 000 characters through every step that reads the list box: load,
# preview, Done, sorting, Cancel, Exit. The program runs on; the list file keeps it whole.
# shellcheck disable=SC2317  # functions run through check
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
e2e_setup
e2e_image a.bmp 64x48 steelblue
e2e_image b.jpg 64x48 orange
title=$E2E_TITLE
long="C:\\$(printf 'a%.0s' $(seq 99988))\\gone.bmp" # sorts first
kvl="$E2E_APP_DIR/long.kvl"
printf '%s\r\n' 'C:\windows\Web\Wallpaper\Windows\a.bmp' "$long" 'C:\windows\Web\Wallpaper\Windows\b.jpg' >"$kvl"
sum() { od -An -tx1 "$@" | md5sum; }
loaded=$(sum "$kvl")
e2e_start_program
check "the program starts" drv wait TForm5 '*' --timeout 30000
pid=$(drv pid TWinTaskbar '*')
alive() { [ "$(drv pid-alive "$pid")" = 1 ]; }
open_settings() { e2e_show_settings && e2e_window_at_rest TForm1 "$title"; }
has_long() { drv listbox TForm1 "$title" | grep -qxF -- "$long"; }

check "open the settings" open_settings
check "page \"File List\"" drv tab TForm1 "$title" 2
check "load file list.." drv click TForm1 "$title" "load file list.."
# A loaded machine may keep a fresh dialog busy past the driver's answer time.
load_list() { drv filedialog 'C:\Papershift7\long.kvl' || drv filedialog 'C:\Papershift7\long.kvl'; }
check "the dialog takes long.kvl" load_list
check "the list shows the entry whole" has_long
check "preview the long entry" drv listselect TForm1 "$title" 1
# Its text (the whole path) is too long to read back in time: its showing is the check.
check "the error box reports the missing file" drv msgbox --timeout 20000
check "preview the JPEG" drv listselect TForm1 "$title" 2
check "press Done" drv click TForm1 "$title" Done
check "Done hides the window" drv wait TForm1 "$title" --hidden --timeout 20000
check "no error box after Done" drv msgbox-none --for 1000
check "the program runs on" alive
check_eq "Done writes the list file unchanged" "$loaded" sum "$kvl"
check "open the settings again" open_settings
check "page \"Change Options\"" drv tab TForm1 "$title" 1
check "sorting on" drv setcheck TForm1 "$title" \
  "Sort the images in your files list automatically by name and location" 1
check "press Cancel" drv click TForm1 "$title" Cancel
check "Cancel hides the window" drv wait TForm1 "$title" --hidden --timeout 20000
check "no error box" drv msgbox-none --for 1000
check "the list keeps the entry" has_long
check "Exit Program" e2e_exit_program
check "the program ends" drv wait-exit --pid "$pid" --timeout 20000
check_eq "Exit writes the list whole, in its order again after Cancel" "$loaded" sum "$kvl"
e2e_finish
