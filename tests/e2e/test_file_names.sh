#!/usr/bin/env bash
# File names outside the system's 8-bit code page: a first start with a Japanese name as
# the only picture; a list file of an earlier version, with an 8-bit byte, named by a
# stored setting with non-ASCII characters; a name with an emoji added, sorted, saved
# and loaded again from a file as an editor leaves it (byte-order mark, last line empty).
# shellcheck disable=SC2317  # functions run through check
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
# Wine maps Unix file names and arguments through the locale's character set.
export LC_ALL=C.UTF-8
e2e_setup

program='Software\Kestrova\Papershift 7\Program'
desktop='Control Panel\Desktop'
title='Papershift 7'

tray_menu() {
  drv tray 516 && drv wait '#32768' '*' --visible --timeout 5000 >/dev/null && drv menu "$@"
}
exit_program() {
  local pid
  pid=$(drv pid TWinTaskbar '*') && tray_menu end enter &&
    drv wait-exit --pid "$pid" --timeout 20000 && e2e_wait_program_exit 10
}
# Through the password prompt: the settings are guarded from the second start on.
show_file_list() {
  drv trayicon-click "$title" 515 && drv wait TForm5 Password --visible --timeout 10000 &&
    drv settext TForm5 Password Edit "$password" && drv click TForm5 Password Ok &&
    drv wait TForm1 "$title" --visible --timeout 10000 && drv tab TForm1 "$title" 2
}
started() {
  drv wait TForm5 '*' --timeout 30000 >/dev/null && drv msgbox-none --for 1000 &&
    [ "$(drv visible TForm3 '*')" = 0 ] || { echo "a notice is shown"; return 1; }
}
same_bytes() { cmp <(printf "$1") "$2"; }
# The preview hint (name, line break, size) among the window's tool tips.
hint_is() {
  drv hints TForm1 "$title" | grep -qxF "$1" || { drv hints TForm1 "$title"; return 1; }
}

# -- first start: the only picture has a Japanese name --------------------------------
e2e_image '夕焼け.jpg' 333x222 orange
e2e_start_program
check "first start ends without an error box or notice" started
check_eq "the list holds the picture's name" "0
C:\\windows\\夕焼け.jpg" drv listbox TForm1 "$title"
check "default.kvl holds the name in UTF-8" \
  same_bytes 'C:\\windows\\\xe5\xa4\x95\xe7\x84\xbc\xe3\x81\x91.jpg\r\n' "$E2E_APP_DIR/default.kvl"
check "the preview hint names the picture" hint_is '夕焼け.jpg\r\n( 333 x 222 ) pixels'
check_eq "the start-up change installs the converted bitmap" 'C:\windows\Kestrova.bmp' \
  drv regget "$desktop" Wallpaper
check_match "the bitmap is made from the picture" '^BMP[0-9]? 333x222$' \
  identify -format '%m %wx%h' "$E2E_WINDIR/Kestrova.bmp"
check "Exit Program" exit_program

# -- an old list file: entries in the 8-bit code page --------------------------------
bilder="$WINEPREFIX/drive_c/Bilder"
mkdir -p "$bilder" "$WINEPREFIX/drive_c/Listen"
red=200,30,30
convert -size 300x200 "xc:rgb($red)" -type TrueColor "BMP3:$bilder/Zürich.bmp"
convert -size 200x150 xc:seagreen -type TrueColor "BMP3:$bilder/Birne.bmp"
convert -size 120x90 xc:gold -quality 90 "JPEG:$bilder/Öl.jpg"
convert -size 90x90 xc:white -quality 90 "JPEG:$bilder/🌅 Morgen.jpg"
old_kvl="$WINEPREFIX/drive_c/Listen/Ältere Liste 夕.kvl"
old_kvl_win='C:\Listen\Ältere Liste 夕.kvl'
# One line in UTF-8 (written by this version), the others in Windows-1252.
printf 'C:\\Bilder\\Z\xfcrich.bmp\r\nC:\\Bilder\\Öl.jpg\r\nC:\\Bilder\\Birne.bmp\r\nC:\\Bilder\\fehlt-\xdf.jpg\r\n' \
  >"$old_kvl"
# The list file's path is stored through the wide registry functions.
# No slide: the window does not answer while it slides.
for value in "FileListSource sz $old_kvl_win" "ItemIndex sz 0" "RestartChange sz 0" \
  "ShowSplash sz 0" "UseAnimation sz 0" "WallpaperStyle sz 0"; do
  read -r name type data <<<"$value"
  drv regset "$program" "$name" "$type" "$data" || e2e_abort "cannot prepare $name"
done
# A password as earlier versions stored it: its Windows-1252 bytes, each exclusive-or the
# key character it meets (the first meeting the key's second), as 8-bit registry text.
password='Grüße'
key=wqkzdvmrt hex=
for ((i = 0; i < ${#password}; i++)); do
  hex+=$(printf '%02x,' $(($(printf '%d' "'${password:i:1}") ^ $(printf '%d' "'${key:i+1:1}"))))
done
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\%s\\Security]\n"UsePwd"="1"\n"Password"=hex(1):%s00\n' \
  "$program" "$hex" >"$E2E_DIR/password.reg"
wine regedit /S "$(e2e_winpath "$E2E_DIR/password.reg")" </dev/null >/dev/null 2>&1 &&
  [ "$(drv regget "$program\\Security" UsePwd)" = 1 ] || e2e_abort "cannot store the password"

e2e_start_program
check "a start with the old list ends without an error box or notice" started
check_eq "every entry of the old list loads" "0
C:\\Bilder\\Zürich.bmp
C:\\Bilder\\Öl.jpg
C:\\Bilder\\Birne.bmp
C:\\Bilder\\fehlt-ß.jpg" drv listbox TForm1 "$title"
check "the preview hint names Zürich.bmp" hint_is 'Zürich.bmp\r\n( 300 x 200 ) pixels'
check "the password of an earlier version opens the settings" show_file_list
check "select the missing file" drv listselect TForm1 "$title" 3
check_match "the error box names it" 'Cannot open file "C:\\Bilder\\fehlt-ß\.jpg"' drv msgbox
check "select Zürich.bmp again" drv listselect TForm1 "$title" 0
check "press Done" drv click TForm1 "$title" Done
check "Done applies without an error box" drv msgbox-none --for 1000
check "Done hides the settings window" drv wait TForm1 "$title" --hidden --timeout 20000
check_eq "Zürich.bmp is the wallpaper" 'C:\Bilder\Zürich.bmp' drv regget "$desktop" Wallpaper
desktop_red() {
  local shot="$E2E_DIR/desktop.png" got _
  for _ in $(seq 20); do
    e2e_screenshot "$shot" &&
      got=$(convert "$shot" -crop 1x1+40+40 -depth 8 txt:- | grep -o "($red)") && return 0
    sleep 0.25
  done
  echo "the desktop's corner is not $red"
  return 1
}
check "the desktop shows it" desktop_red
check_eq "FileListSource reads back as stored" "$old_kvl_win" drv regget "$program" FileListSource
check "the old list is written back in UTF-8" same_bytes \
  'C:\\Bilder\\Z\xc3\xbcrich.bmp\r\nC:\\Bilder\\\xc3\x96l.jpg\r\nC:\\Bilder\\Birne.bmp\r\nC:\\Bilder\\fehlt-\xc3\x9f.jpg\r\n' \
  "$old_kvl"

# -- an emoji: added, sorted, saved, loaded ------------------------------------------
emoji_kvl="$WINEPREFIX/drive_c/Listen/Sonne 🌅.kvl"
emoji_kvl_win='C:\Listen\Sonne 🌅.kvl'
check "show the page \"File List\" again" show_file_list
check "press \"add file(s)..\"" drv click TForm1 "$title" "add file(s).."
check "the dialog takes the emoji name" drv filedialog 'C:\Bilder\🌅 Morgen.jpg' --timeout 10000
sort_on() {
  drv tab TForm1 "$title" 1 && drv setcheck TForm1 "$title" \
    "Sort the images in your files list automatically by name and location" 1 &&
    drv tab TForm1 "$title" 2
}
check "turn sorting on" sort_on
letters_sorted() { drv listbox TForm1 "$title" | tail -n +2 | grep -v '🌅'; }
check_eq "the names sort by their letters" "C:\\Bilder\\Birne.bmp
C:\\Bilder\\fehlt-ß.jpg
C:\\Bilder\\Öl.jpg
C:\\Bilder\\Zürich.bmp" letters_sorted
check "press \"save file list..\"" drv click TForm1 "$title" "save file list.."
check "the save dialog takes the emoji name" drv filedialog "$emoji_kvl_win" --timeout 10000
saved=$(tr -d '\r' <"$emoji_kvl")
check_match "the saved list holds the emoji name" $'(^|\n)C:\\\\Bilder\\\\🌅 Morgen\\.jpg(\n|$)' \
  printf '%s' "$saved"
# As an editor leaves it: a byte-order mark first and an empty last line.
{ printf '\xef\xbb\xbf'; cat "$emoji_kvl"; printf '\r\n'; } >"$E2E_DIR/edited.kvl"
mv "$E2E_DIR/edited.kvl" "$emoji_kvl"
check "press \"load file list..\"" drv click TForm1 "$title" "load file list.."
check "the open dialog takes the saved list" drv filedialog "$emoji_kvl_win" --timeout 10000
check "the edited list loads without an error box" drv msgbox-none --for 1000
check_eq "and without the notice \"Not a valid .kvl-file\"" 0 drv visible TForm3 '*'
check_eq "the list is the saved one, its empty line sorted first, Birne.bmp selected" "1

$saved" drv listbox TForm1 "$title"
check "Exit Program" exit_program
check_eq "FileListSource keeps the emoji" "$emoji_kvl_win" drv regget "$program" FileListSource
check "the list is written in UTF-8 without a byte-order mark" same_bytes \
  "\r\n$(sed 's/\\/\\\\/g; s/%/%%/g; s/$/\\r\\n/' <<<"$saved" | tr -d '\n')" "$emoji_kvl"

e2e_finish
