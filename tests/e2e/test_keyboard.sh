#!/usr/bin/env bash
# Without a mouse: a notice at start shows its whole text and gives "Ok" the keys; after the
# splash the settings window takes Tab, Ctrl+Tab, the arrows on the minutes field, Enter
# ("Done", still the default) and Escape ("Cancel"); the set-password dialog is owned by it
# and opens empty again after Escape, which acts as its close box.
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
e2e_setup
e2e_image sample-a.bmp 320x240 steelblue
program=$E2E_PROGRAM_KEY title=$E2E_TITLE notice='Unable to load File(s) List'
drv regset "$program" FileListSource sz 'C:\Papershift7\mine.kvl' && drv regset "$program" UseAnimation sz 0
e2e_start_program
check "a notice at start" drv wait TForm3 "$notice" --visible --timeout 30000
fits() { read -r n at size < <(drv editlines TForm3 "$notice") && ((n > 1 && ${at%,*} < ${size%x*} && ${at#*,} < ${size#*x})); }
check "... wraps its text and shows it whole" fits
check_match '... gives "Ok" the focus' $'^TForm3\tButton\tOk\tdefault$' drv focus TForm3 "$notice"
sleep 3 && drv keys tab tab # into the text and out again, after the splash
check_match "... and Tab comes back to it" $'^TForm3\tButton\tOk' drv focus TForm3 "$notice"
drv keys enter && check "... and Enter closes it" drv wait TForm3 "$notice" --hidden
check "the settings window opens" e2e_show_settings
check_match "... with a control focused" $'^TForm1\t(Button|SysTabControl32)\t' drv focus TForm1 "$title"
drv keys ctrl+tab ctrl+tab ctrl+tab tab # "About" has no tab stop: on to "Done"
check_match 'Ctrl+Tab and Tab reach "Done", the default' $'^TForm1\tButton\tDone\tdefault$' drv focus TForm1 "$title"
drv keys escape && check 'Escape presses "Cancel"' drv wait TForm1 "$title" --hidden
e2e_show_settings && drv keys ctrl+tab ctrl+tab
check_match 'Ctrl+Tab: "Change Options"' '^1' drv tabs TForm1 "$title"
drv keys tab tab space tab up # past "Cancel", tick the first box, on to the minutes
check_match "the minutes took Tab and Up" $'^TForm1\tEdit\t16$' drv focus TForm1 "$title"
drv keys ctrl+shift+tab
check_match 'Ctrl+Shift+Tab: "Basic Options"' '^0' drv tabs TForm1 "$title"
drv keys enter && check 'Enter presses "Done"' drv wait TForm1 "$title" --hidden
check_eq "... which stores the minutes" 16 drv regget "$program" ChangeIntervalTime
e2e_show_settings && drv setcheck TForm1 "$title" 'Use a password to protect your settings' 1
check '"Change.." opens the dialog' drv click TForm1 "$title" Change.. --nth 1
check_eq "... owned by the settings window" "owner=$(drv wait TForm1 "$title")" eval 'drv windows TForm4 | cut -f5'
drv keys a b c escape && drv wait TForm4 '*' --hidden >/dev/null && drv click TForm1 "$title" Change.. --nth 1
check_eq "what was typed before Escape is gone" "" drv text TForm4 '*' Edit --nth 1
IFS=, read -r left _ _ bottom < <(drv rect TForm1 "$title")
xdotool mousemove $((left + 20)) $((bottom - 20)) click 1 # an empty spot of the settings page
check_match "a click on the settings window activates it" $'^TForm1\t' drv focus TForm1 "$title"
drv click TForm1 "$title" Change.. --nth 1
check_match '"Change.." brings the open dialog to the front' $'^TForm4\t' drv focus TForm1 "$title"
e2e_finish
