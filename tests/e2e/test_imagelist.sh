#!/usr/bin/env bash
# The image list on disk. A first start builds "default.kvl" in the working directory
# from the system's wallpapers, as a stock Windows keeps them; "load file list.." takes a list file
# through the standard open dialog; "Exit Program" writes the list, as edited, back
# into the list file it came from.
# shellcheck disable=SC2317  # functions run through check
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
e2e_setup

# Names that interleave the two kinds, in two theme folders.
e2e_image a-dusk.jpg 320x240 orange firebrick
e2e_image b-lake.bmp 320x240 steelblue
e2e_image Theme1/c-moss.jpg 200x150 seagreen
e2e_image Theme1/d-snow.bmp 160x120 white lightblue

program=$E2E_PROGRAM_KEY
title=$E2E_TITLE
default_kvl="$E2E_APP_DIR/default.kvl"

# A list file kept elsewhere, as another program might write it: line feeds only, a
# folder with a blank in its name, and an entry whose file is gone (only entry 0 is
# tested when a list is loaded).
pictures="$WINEPREFIX/drive_c/My Pictures"
mkdir -p "$pictures" "$WINEPREFIX/drive_c/lists"
convert -size 240x180 xc:gold -quality 90 "JPEG:$pictures/sea view.jpg"
convert -size 180x240 xc:purple -type TrueColor "BMP3:$pictures/portrait.bmp"
mine_kvl="$WINEPREFIX/drive_c/lists/mine.kvl"
mine_kvl_win='C:\lists\mine.kvl'
printf '%s\n' 'C:\My Pictures\sea view.jpg' 'C:\My Pictures\portrait.bmp' \
  'C:\My Pictures\gone.jpg' >"$mine_kvl"

# shellcheck disable=SC2119  # no arguments: the program has no options
e2e_start_program
check "the program starts with no error box" e2e_started

# -- the first start's default list -----------------------------------------------
check "default.kvl is written in the working directory" test -s "$default_kvl"

# Every line, the last one included, ends with CR LF, and no CR stands alone.
crlf_lines() {
  local file=$1 lf cr crlf
  [ -s "$file" ] || { echo "empty file"; return 1; }
  lf=$(tr -cd '\n' <"$file" | wc -c)
  cr=$(tr -cd '\r' <"$file" | wc -c)
  crlf=$(grep -c $'\r$' "$file")
  [ "$(tail -c 2 "$file" | od -An -tx1 | tr -d ' ')" = 0d0a ] || { echo "no CR LF at the end"; return 1; }
  if [ "$lf" -ne "$crlf" ] || [ "$cr" -ne "$crlf" ]; then
    echo "$lf LF, $cr CR, $crlf CR LF"
    return 1
  fi
}
check "default.kvl has CR LF line ends" crlf_lines "$default_kvl"

lines_of() { tr -d '\r' <"$1"; }
list_entries() { drv listbox TForm1 "$title" | tail -n +2; }
w='C:\windows\Web\Wallpaper'
check_eq "default.kvl holds the four pictures, folder by folder, each bitmaps first" "$w\Theme1\d-snow.bmp
$w\Theme1\c-moss.jpg
$w\Windows\b-lake.bmp
$w\Windows\a-dusk.jpg" lines_of "$default_kvl"

# -- load file list.. ----------------------------------------------------------------
check "double-click on the icon" drv trayicon-click "$title" 515
check "the settings window shows" drv wait TForm1 "$title" --visible --timeout 10000
check_eq "the list box shows the default list" "$(lines_of "$default_kvl")" \
  list_entries
check "the page \"File List\"" drv tab TForm1 "$title" 2
check "press \"load file list..\"" drv click TForm1 "$title" "load file list.."
check "the open dialog takes the prepared list" drv filedialog "$mine_kvl_win" --timeout 10000
check "no error box after the load" drv msgbox-none --for 1000
check_eq "no notice after the load" 0 drv visible TForm3 '*'
check_eq "the list box shows the prepared list, entry 0 selected" "0
C:\\My Pictures\\sea view.jpg
C:\\My Pictures\\portrait.bmp
C:\\My Pictures\\gone.jpg" drv listbox TForm1 "$title"

# An edit before the exit: removing entry 0 selects (and previews) the new entry 0.
check "press \"remove file\"" drv click TForm1 "$title" "remove file"
list_after_remove() {
  local _ got
  for _ in $(seq 50); do
    got=$(drv listbox TForm1 "$title")
    [ "$(wc -l <<<"$got")" -eq 3 ] && break
    sleep 0.1
  done
  printf '%s\n' "$got"
}
check_eq "the list lost entry 0" "0
C:\\My Pictures\\portrait.bmp
C:\\My Pictures\\gone.jpg" list_after_remove
check "no error box after the remove" drv msgbox-none --for 500

# -- Exit Program --------------------------------------------------------------------
default_before=$(od -An -tx1 "$default_kvl")
pid=$(drv pid TWinTaskbar '*')
check "Exit Program from the icon's menu" e2e_exit_program
check "the program ends" drv wait-exit --pid "$pid" --timeout 20000
e2e_wait_program_exit 10

check_eq "FileListSource names the loaded list" "$mine_kvl_win" drv regget "$program" FileListSource
check_eq "the loaded list file holds the edited list" "C:\\My Pictures\\portrait.bmp
C:\\My Pictures\\gone.jpg" lines_of "$mine_kvl"
check "the loaded list file is written with CR LF" crlf_lines "$mine_kvl"
check_eq "default.kvl is left as it was" "$default_before" od -An -tx1 "$default_kvl"
check_eq "ItemIndex is the selection" 0 drv regget "$program" ItemIndex

e2e_finish
