#!/usr/bin/env bash
# Names outside the 8-bit code page: a first start with a Japanese name; a list file and a
# password of an earlier version (8-bit bytes), the list named by a non-ASCII setting; an
# emoji name added, sorted, saved, and loaded from a file as an editor leaves it.
# shellcheck disable=SC2317  # functions run through check
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
export LC_ALL=C.UTF-8 # Wine maps Unix names and arguments through the locale's charset
e2e_setup

program=$E2E_PROGRAM_KEY
desktop='Control Panel\Desktop'
title=$E2E_TITLE
exit_program() {
  local pid
  pid=$(drv pid TWinTaskbar '*') && e2e_exit_program &&
    drv wait-exit --pid "$pid" --timeout 20000 && e2e_wait_program_exit 10
}
started() {
  e2e_started && [ "$(drv visible TForm3 '*')" = 0 ] || { echo "a notice is shown"; return 1; }
}
same_bytes() { cmp <(printf "$1") "$2"; }
list() { drv listbox TForm1 "$title"; }

# -- first start: the only picture has a Japanese name --------------------------------
e2e_image '夕焼け.jpg' 333x222 orange
e2e_start_program
check "first start ends without an error box or notice" started
check_eq "the list holds the name" $'0\nC:\\windows\\Web\\Wallpaper\\Windows\\夕焼け.jpg' list
check "default.kvl holds it in UTF-8" same_bytes \
  'C:\\windows\\Web\\Wallpaper\\Windows\\\xe5\xa4\x95\xe7\x84\xbc\xe3\x81\x91.jpg\r\n' "$E2E_APP_DIR/default.kvl"
check "the preview hint names it" eval "drv hints TForm1 '$title' | grep -xF '夕焼け.jpg\r\n( 333 x 222 ) pixels'"
check_match "the start-up change installs the bitmap made from it" '^C:\\windows\\Kestrova\.bmp BMP3? 333x222$' \
  eval 'echo "$(drv regget "$desktop" Wallpaper) $(identify -format "%m %wx%h" "$E2E_WINDIR/Kestrova.bmp")"'
check "Exit Program" exit_program

# -- a list file and a password of an earlier version --------------------------------
bilder="$WINEPREFIX/drive_c/Bilder"
mkdir -p "$bilder" "$WINEPREFIX/drive_c/Listen"
convert -size 300x200 'xc:rgb(200,30,30)' -type TrueColor "BMP3:$bilder/Zürich.bmp"
convert -size 200x150 xc:seagreen -type TrueColor "BMP3:$bilder/Birne.bmp"
convert -size 90x90 xc:gold "JPEG:$bilder/Öl.jpg"
convert -size 90x90 xc:white "JPEG:$bilder/🌅 Morgen.jpg"
old_kvl_win='C:\Listen\Ältere Liste 夕.kvl'
old_kvl="$WINEPREFIX/drive_c/Listen/Ältere Liste 夕.kvl"
# Windows-1252 lines and one in UTF-8.
printf 'C:\\Bilder\\Z\xfcrich.bmp\r\nC:\\Bilder\\Öl.jpg\r\nC:\\Bilder\\Birne.bmp\r\nC:\\Bilder\\fehlt-\xdf.jpg\r\n' >"$old_kvl"
# Stored through the wide registry functions; no slide, during which the window is deaf.
e2e_settings "FileListSource=$old_kvl_win" ItemIndex=0 RestartChange=0 ShowSplash=0 UseAnimation=0 \
  WallpaperStyle=0
# The password's Windows-1252 bytes, each exclusive-or the key character it meets (the
# first meeting the key's second), as 8-bit registry text.
password='Grüße' key=wqkzdvmrt hex=
for ((i = 0; i < ${#password}; i++)); do
  hex+=$(printf '%02x,' $(($(printf '%d' "'${password:i:1}") ^ $(printf '%d' "'${key:i+1:1}"))))
done
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\%s\\Security]\n"UsePwd"="1"\n"Password"=hex(1):%s00\n' \
  "$program" "$hex" >"$E2E_DIR/password.reg"
wine regedit /S "$(e2e_winpath "$E2E_DIR/password.reg")" </dev/null >/dev/null 2>&1 ||
  e2e_abort "cannot store the password"
show_file_list() {
  e2e_prompt_open && e2e_prompt_answer "$password" &&
    drv wait TForm1 "$title" --visible --timeout 10000 && drv tab TForm1 "$title" 2
}

e2e_start_program
check "a start with the old list ends without an error box or notice" started
check_eq "every entry of the old list loads" \
  $'0\nC:\\Bilder\\Zürich.bmp\nC:\\Bilder\\Öl.jpg\nC:\\Bilder\\Birne.bmp\nC:\\Bilder\\fehlt-ß.jpg' list
check "the old password opens the settings" show_file_list
missing_file_box() { drv listselect TForm1 "$title" 3 && drv msgbox && drv listselect TForm1 "$title" 0; }
check_match "an error box names the missing file" 'Cannot open file "C:\\Bilder\\fehlt-ß\.jpg"' missing_file_box
check "Done applies Zürich.bmp without an error box" eval \
  "drv click TForm1 '$title' Done && drv msgbox-none --for 1000 && drv wait TForm1 '$title' --hidden"
check_eq "it is the wallpaper" 'C:\Bilder\Zürich.bmp' drv regget "$desktop" Wallpaper
desktop_red() {
  e2e_screenshot "$E2E_DIR/desktop.png" &&
    convert "$E2E_DIR/desktop.png" -crop 1x1+40+40 -depth 8 txt:- | grep -F '(200,30,30)'
}
check "the desktop shows it" desktop_red
check_eq "FileListSource reads back as stored" "$old_kvl_win" drv regget "$program" FileListSource
check "the old list is written back in UTF-8" same_bytes \
  'C:\\Bilder\\Z\xc3\xbcrich.bmp\r\nC:\\Bilder\\\xc3\x96l.jpg\r\nC:\\Bilder\\Birne.bmp\r\nC:\\Bilder\\fehlt-\xc3\x9f.jpg\r\n' \
  "$old_kvl"

# -- an emoji: added, sorted, saved, loaded ------------------------------------------
emoji_kvl_win='C:\Listen\Sonne 🌅.kvl'
emoji_kvl="$WINEPREFIX/drive_c/Listen/Sonne 🌅.kvl"
button_and_dialog() { drv click TForm1 "$title" "$1" && drv filedialog "$2" --timeout 10000; }
sort_on() {
  drv tab TForm1 "$title" 1 && drv setcheck TForm1 "$title" \
    "Sort the images in your files list automatically by name and location" 1 &&
    drv tab TForm1 "$title" 2
}
check "add the emoji name, sort" eval "show_file_list &&
  button_and_dialog 'add file(s)..' 'C:\\Bilder\\🌅 Morgen.jpg' && sort_on"
check_eq "the names sort by their letters" \
  $'C:\\Bilder\\Birne.bmp\nC:\\Bilder\\fehlt-ß.jpg\nC:\\Bilder\\Öl.jpg\nC:\\Bilder\\Zürich.bmp' \
  eval "list | tail -n +2 | grep -v '🌅'"
check "save the list under an emoji name" button_and_dialog "save file list.." "$emoji_kvl_win"
check "the list file is written" e2e_wait_file "$emoji_kvl"
saved=$(tr -d '\r' <"$emoji_kvl")
check "it holds the emoji name" grep -qxF 'C:\Bilder\🌅 Morgen.jpg' <<<"$saved"
# As an editor leaves it: a byte-order mark first and an empty last line.
{ printf '\xef\xbb\xbf'; cat "$emoji_kvl"; printf '\r\n'; } >"$E2E_DIR/edited.kvl"
mv "$E2E_DIR/edited.kvl" "$emoji_kvl"
check "load it again" button_and_dialog "load file list.." "$emoji_kvl_win"
check "no error box, no notice \"Not a valid .kvl-file\"" started
check_eq "the saved list, the empty line sorted first, Birne.bmp selected" "1

$saved" list
check "Exit Program" exit_program
check_eq "FileListSource keeps the emoji" "$emoji_kvl_win" drv regget "$program" FileListSource
check "the list is written in UTF-8 without a byte-order mark" same_bytes \
  "\r\n$(sed 's/\\/\\\\/g; s/%/%%/g; s/$/\\r\\n/' <<<"$saved" | tr -d '\n')" "$emoji_kvl"

e2e_finish
