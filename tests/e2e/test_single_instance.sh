#!/usr/bin/env bash
# A second start of the program while one copy runs, from another folder: it opens the
# settings window of the running copy, as a double-click on its icon does, and ends
# without writing
# anything; there is still one icon.
# shellcheck disable=SC2317  # functions run through check
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
e2e_setup

e2e_image sample-a.bmp 320x240 steelblue
e2e_image sample-b.jpg 320x240 orange firebrick
program=$E2E_PROGRAM_KEY
title=$E2E_TITLE

# shellcheck disable=SC2119
e2e_start_program
check "the first copy starts" drv wait TForm5 '*' --timeout 30000
first_pid=$(drv pid TWinTaskbar '*')
check_eq "its settings window is hidden" 0 drv visible TForm1 "$title"

# A value the second copy would overwrite if it ran its start-up or its exit.
drv regset "$program" ShowSplash sz 0 >/dev/null

# The second copy lies in another folder (the zip copy beside the installed one).
mkdir -p "$WINEPREFIX/drive_c/Zip copy" && cp "$E2E_APP_DIR/Papershift7.exe" "$WINEPREFIX/drive_c/Zip copy/"
second_exits() {
  (cd "$WINEPREFIX/drive_c/Zip copy" && timeout 30 wine Papershift7.exe </dev/null >"$E2E_DIR/second.log" 2>&1)
}
check "the second start ends by itself" second_exits
check "the running copy shows its settings window" drv wait TForm1 "$title" --visible --timeout 15000
check_eq "the running copy is the one that shows it" "$first_pid" drv pid TForm1 "$title"
count_tray_windows() { drv windows | awk -F'\t' '$2 == "TWinTaskbar"' | wc -l; }
check_eq "there is one icon window" 1 count_tray_windows
check_eq "the second copy wrote nothing" 0 drv regget "$program" ShowSplash

e2e_finish
