#!/usr/bin/env bash
# Nothing reported as done that was not done, no work lost without a word. A start whose
# selected picture was deleted reports it and still runs to its end (start-up change,
# timer); a ".jpeg" picture is installed; a missing bitmap is reported, never installed;
# Cancel brings back the list and the running timer; the password prompt never keeps
# what was typed; Done with an empty list writes it.
# shellcheck disable=SC2317  # functions run through check
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
e2e_setup

pics="$WINEPREFIX/drive_c/pics"
mkdir -p "$pics"
convert -size 320x240 xc:firebrick -type TrueColor "BMP3:$pics/red.bmp"
convert -size 320x240 xc:orange -quality 90 "JPEG:$pics/photo.jpeg"
convert -size 320x240 xc:steelblue -type TrueColor "BMP3:$pics/blue.bmp"
list="$pics/mine.kvl"
printf '%s\r\n' 'C:\pics\red.bmp' 'C:\pics\z-gone.bmp' 'C:\pics\photo.jpeg' 'C:\pics\blue.bmp' >"$list"
cp "$list" "$E2E_DIR/mine.kvl.before"

program=$E2E_PROGRAM_KEY
desktop='Control Panel\Desktop'
title=$E2E_TITLE
# The deleted picture selected; timed changes every minute; a password prompt (with no
# password set, "Ok" on an empty field opens the settings).
for setting in 'FileListSource C:\pics\mine.kvl' 'ItemIndex 1' 'TimeInterval 1' \
  'ChangeIntervalTime 1' 'ShowSplash 0' 'UseAnimation 0'; do
  drv regset "$program" "${setting%% *}" sz "${setting#* }" || e2e_abort "cannot prepare the settings"
done
drv regset "$program\\Security" UsePwd sz 1 || e2e_abort "cannot prepare the settings"

entries_are() { # WANT: the list box as the driver prints it, within a few seconds
  local got _
  for _ in $(seq 20); do
    got=$(drv listbox TForm1 "$title") && [ "$got" = "$1" ] && return 0
    sleep 0.2
  done
  printf 'list box:\n%s\n' "$got"
  return 1
}
wallpaper_becomes() { # PATH SECONDS
  local got end=$((SECONDS + $2))
  while ((SECONDS < end)); do
    got=$(drv regget "$desktop" Wallpaper) && [ "$got" = "$1" ] && return 0
    sleep 1
  done
  echo "Wallpaper is $got"
  return 1
}
missing='^Cannot open file "C:\\pics\\z-gone\.bmp"\. '

# shellcheck disable=SC2119  # no arguments: the program has no options
e2e_start_program
check_match "start-up reports the deleted picture" "$missing" drv msgbox --timeout 30000
check "... and goes on to its end" drv wait TForm5 '*' --timeout 30000
check "the start-up change installs the .jpeg picture" wallpaper_becomes 'C:\windows\Kestrova.bmp' 10
check_match "... converted at its own size" '^BMP[0-9]? 320x240$' \
  identify -format '%m %wx%h' "$E2E_WINDIR/Kestrova.bmp"
check_eq "... and keeps its position" 2 drv regget "$program" ItemIndex
check "no other error box" drv msgbox-none --for 1000

# -- the prompt keeps nothing ------------------------------------------------------------
open_prompt() { drv trayicon-click "$title" 515 && drv wait TForm5 Password --visible >/dev/null; }
check "the prompt opens" open_prompt
check "type into it, then its close box" eval "drv settext TForm5 Password Edit secret &&
  drv close TForm5 Password && drv wait TForm5 Password --hidden >/dev/null"
check "the prompt opens again" open_prompt
check_eq "... with an empty field" "" drv text TForm5 Password Edit
open_settings() {
  drv click TForm5 Password Ok && drv wait TForm1 "$title" --visible >/dev/null &&
    drv tab TForm1 "$title" 2 >/dev/null
}
check "Ok opens the settings window" open_settings

# -- "change now": a missing bitmap is reported, a picture is installed ------------------------
all='C:\pics\red.bmp
C:\pics\z-gone.bmp
C:\pics\photo.jpeg
C:\pics\blue.bmp'
check "the list as in its file" entries_are "2
$all"
drv listselect TForm1 "$title" 1 >/dev/null
check_match "selecting the deleted picture reports it" "$missing" drv msgbox
check "\"change now\"" drv click TForm1 "$title" "change now"
check_match "... reports it too" "$missing" drv msgbox
check_eq "... and leaves the wallpaper" 'C:\windows\Kestrova.bmp' drv regget "$desktop" Wallpaper
check_eq "... and the list" 4 eval "drv listbox TForm1 '$title' | tail -n +2 | wc -l"
drv listselect TForm1 "$title" 0 >/dev/null && drv click TForm1 "$title" "change now" >/dev/null
check "\"change now\" installs a bitmap that is there" wallpaper_becomes 'C:\pics\red.bmp' 10
drv listselect TForm1 "$title" 2 >/dev/null && drv click TForm1 "$title" "change now" >/dev/null
check "... and the .jpeg picture" wallpaper_becomes 'C:\windows\Kestrova.bmp' 10

# -- Cancel after removing, sorting and "new list" ----------------------------------------------
drv listselect TForm1 "$title" 3 >/dev/null
check "remove an entry" drv click TForm1 "$title" "remove file"
check "tick sorting" eval "drv tab TForm1 '$title' 1 >/dev/null &&
  drv setcheck TForm1 '$title' 'Sort the images in your files list automatically by name and location' 1"
check "\"new list\"" eval "drv tab TForm1 '$title' 2 >/dev/null && drv click TForm1 '$title' 'new list'"
check "the list is empty" entries_are -1
check "Cancel closes the window" eval "drv click TForm1 '$title' Cancel &&
  drv wait TForm1 '$title' --hidden >/dev/null"
check "no error box after Cancel" drv msgbox-none --for 500
check "the list is back as in its file" entries_are "2
$all"
check "the list file is untouched" cmp "$list" "$E2E_DIR/mine.kvl.before"

# The next timed change (list order: after the photo, the blue picture) comes a minute
# after Cancel, as it would have without the visit.
check "timed changes go on after Cancel" wallpaper_becomes 'C:\pics\blue.bmp' 75
check "no error box from the timed change" drv msgbox-none --for 500

# -- Done with an empty list ---------------------------------------------------------------------
check "open the settings again" eval 'open_prompt && open_settings'
check "\"new list\", then Done" eval "drv click TForm1 '$title' 'new list' && entries_are -1 >/dev/null &&
  drv click TForm1 '$title' Done && drv wait TForm1 '$title' --hidden >/dev/null"
check "no error box after Done" drv msgbox-none --for 500
check "Done wrote the empty list" test ! -s "$list"
check_eq "... and stored no selection" -1 drv regget "$program" ItemIndex

e2e_finish
