#!/usr/bin/env bash
# The wallpaper from the icon's menu: "Center Image" installs the selected picture
# centred, "Change Image" the next one (a JPEG through the converted bitmap in the
# Windows directory), wrapping at the end; the desktop itself shows each picture.
# "Background Color" > "Green" sets the desktop colour.
# shellcheck disable=SC2317  # functions run through check
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
e2e_setup

# One solid colour each, smaller than the desktop: centred, the middle of the screen
# shows the picture and the corners do not.
red=200,30,30
blue=30,60,200
e2e_image p-red.bmp 300x200 "rgb($red)"
e2e_image q-blue.jpg 320x240 "rgb($blue)"

program=$E2E_PROGRAM_KEY
desktop='Control Panel\Desktop'
title=$E2E_TITLE
# No change at start (entry 0 stays selected) and no splash over the middle of the
# screen.
e2e_settings RestartChange=0 ShowSplash=0

# shellcheck disable=SC2119  # no arguments: the program has no options
e2e_start_program
check "the program starts with no error box" e2e_started
check_eq "the list holds the bitmap, then the JPEG; entry 0 selected" "0
C:\\windows\\Web\\Wallpaper\\Windows\\p-red.bmp
C:\\windows\\Web\\Wallpaper\\Windows\\q-blue.jpg" drv listbox TForm1 "$title"

# "R,G,B" of one pixel of the desktop as it is now.
shot="$E2E_DIR/desktop.png"
pixel_at() {
  e2e_screenshot "$shot" || return 1
  convert "$shot" -crop "1x1+$1+$2" -depth 8 txt:- |
    sed -nE 's/^[0-9]+,[0-9]+: *\(([0-9]+),([0-9]+),([0-9]+).*/\1,\2,\3/p'
}
# Within 8 of each channel: a JPEG's flat colour comes back a little off.
near() {
  local a b
  IFS=, read -ra a <<<"$1"
  IFS=, read -ra b <<<"$2"
  [ "${#a[@]}" -eq 3 ] && [ "${#b[@]}" -eq 3 ] || return 1
  for i in 0 1 2; do
    [ $((a[i] - b[i])) -le 8 ] && [ $((b[i] - a[i])) -le 8 ] || return 1
  done
}
# desktop_shows X Y COLOUR: the desktop repaints shortly after the change.
desktop_shows() {
  local got _
  for _ in $(seq 20); do
    got=$(pixel_at "$1" "$2") && near "$got" "$3" && return 0
    sleep 0.25
  done
  echo "pixel $1,$2 is $got, expected about $3"
  return 1
}
desktop_lacks() {
  local got
  got=$(pixel_at "$1" "$2") || return 1
  ! near "$got" "$3" || { echo "pixel $1,$2 is $got"; return 1; }
}

# -- Center Image: the selected entry, centred ------------------------------------
check "choose \"Center Image\"" e2e_tray_menu end up up enter
check "no error box after \"Center Image\"" drv msgbox-none --for 500
check_eq "the desktop's WallpaperStyle is 0" 0 drv regget "$desktop" WallpaperStyle
check_eq "the desktop's TileWallpaper is 0" 0 drv regget "$desktop" TileWallpaper
check_eq "the wallpaper is the bitmap itself" 'C:\windows\Web\Wallpaper\Windows\p-red.bmp' drv regget "$desktop" Wallpaper
check_eq "ItemIndex is 0" 0 drv regget "$program" ItemIndex
check "the middle of the desktop shows the red picture" desktop_shows 512 384 "$red"
check "a corner does not: the picture is centred" desktop_lacks 40 40 "$red"

# -- Change Image: the next entry, a JPEG ----------------------------------------------
check "choose \"Change Image\"" e2e_tray_menu home down enter
check "no error box after the change" drv msgbox-none --for 500
check_eq "the wallpaper is the converted bitmap" 'C:\windows\Kestrova.bmp' \
  drv regget "$desktop" Wallpaper
check_eq "ItemIndex is 1" 1 drv regget "$program" ItemIndex
selected_entry() { drv listbox TForm1 "$title" | head -n 1; }
check_eq "the JPEG is selected in the list" 1 selected_entry
check_match "the converted bitmap is a BMP of the JPEG's size" '^BMP[0-9]? 320x240$' \
  identify -format '%m %wx%h' "$E2E_WINDIR/Kestrova.bmp"
desktop_style() { echo "$(drv regget "$desktop" WallpaperStyle) $(drv regget "$desktop" TileWallpaper)"; }
check_eq "the style stays centred" "0 0" desktop_style
check "the middle of the desktop shows the blue picture" desktop_shows 512 384 "$blue"

# -- Change Image again: from the last entry back to the first ---------------------------
check "choose \"Change Image\" again" e2e_tray_menu home down enter
check_eq "the wallpaper is the bitmap again" 'C:\windows\Web\Wallpaper\Windows\p-red.bmp' drv regget "$desktop" Wallpaper
check_eq "ItemIndex is 0 again" 0 drv regget "$program" ItemIndex
check "the desktop shows the red picture again" desktop_shows 512 384 "$red"

# -- Background Color > Green ----------------------------------------------------------
# The running desktop keeps painting its old colour; a new process sees the new one.
check_match "the desktop colour is not green yet" '^[0-9]+,[0-9]+,[0-9]+$' drv syscolor 1
[ "$E2E_GOT" = 0,128,0 ] && e2e_fail "the desktop colour was green before the choice" ""
check "choose \"Background Color\" > \"Green\"" e2e_tray_menu home down down down right end enter
check_eq "COLOR_DESKTOP is 0,128,0" 0,128,0 drv syscolor 1
check_eq "the colour leaves the wallpaper alone" 'C:\windows\Web\Wallpaper\Windows\p-red.bmp' \
  drv regget "$desktop" Wallpaper
check "no error box after the colour" drv msgbox-none --for 500

e2e_screenshot "$PS_ARTIFACTS/wallpaper-desktop.png"
e2e_finish
