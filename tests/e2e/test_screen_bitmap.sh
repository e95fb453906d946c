#!/usr/bin/env bash
# A JPEG larger than the desktop becomes a bitmap of what the desktop shows of it: in each
# style from the icon's menu, the bitmap laid out on the screen as Windows lays it out looks
# as the whole picture laid out the same way. With timed changes on, the bitmap of the next
# entry is made ahead: "Change Image" then shows that entry whole, and Exit leaves no such
# bitmap behind.
# shellcheck disable=SC2317  # functions run through check
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
e2e_setup

# Odd sizes meet the rounding of an odd centring margin; a plasma shows a misplaced cut,
# blurred so that resampling from another size hardly differs.
pics="$WINEPREFIX/drive_c/Bilder"
mkdir -p "$pics" && printf 'C:\\Bilder\\big.jpg\r\nC:\\Bilder\\flop.jpg\r\n' >"$pics/list.kvl"
if ! convert -size 1601x1001 -seed 25 plasma:fractal -blur 0x3 -quality 95 "$pics/big.jpg" ||
  ! convert "$pics/big.jpg" -flop -quality 95 "$pics/flop.jpg"; then
  e2e_abort "cannot make the pictures"
fi
e2e_settings 'FileListSource=C:\Bilder\list.kvl' ItemIndex=0 RestartChange=0 ShowSplash=0 \
  TimeInterval=1 ChangeIntervalTime=60
e2e_start_program
check "the program starts without an error box" e2e_started

lay_out() {  # lay_out STYLE FILE OUT: FILE on the 1024 x 768 screen as Windows shows it
  case $1 in
    tiled) convert -size 1024x768 "tile:$2" "$3" ;;
    centred) convert "$2" -gravity center -background black -extent 1024x768 "$3" ;;
    stretched) convert "$2" -resize '1024x768!' "$3" ;;
  esac
}
looks_whole() {  # looks_whole STYLE LIMIT [PICTURE]: root mean square difference at most LIMIT
  lay_out "$1" "$E2E_WINDIR/Kestrova.bmp" "$E2E_DIR/a.png" && lay_out "$1" "$pics/${3:-big.jpg}" "$E2E_DIR/b.png" &&
    compare -metric RMSE "$E2E_DIR/a.png" "$E2E_DIR/b.png" null: 2>&1 |
    sed -nE 's/.*\(([0-9.e-]+)\).*/\1/p' | awk -v m="$2" '{ print "difference", $1; exit !($1 <= m) }'
}
applied() {  # applied STYLE TILE: the apply has got as far as the desktop values
  for _ in $(seq 40); do
    [ "$(drv regget 'Control Panel\Desktop' WallpaperStyle)$(drv regget 'Control Panel\Desktop' TileWallpaper)" = "$1$2" ] && return
    sleep 0.25
  done
  return 1
}
at_entry() {  # at_entry N: the change has stored its position
  for _ in $(seq 40); do
    [ "$(drv regget "$E2E_PROGRAM_KEY" ItemIndex)" = "$1" ] && return
    sleep 0.25
  done
  return 1
}
# style_check NAME STYLE TILE SIZE LIMIT KEY...: the menu entry KEY... up from the menu's end.
style_check() {
  check "choose the $1 style from the icon's menu" e2e_tray_menu end "${@:6}" enter
  check "the $1 apply ends without an error box" eval "applied $2 $3 && drv msgbox-none --for 300"
  check_eq "the $1 bitmap holds only what the screen shows" "$4" identify -format '%wx%h' "$E2E_WINDIR/Kestrova.bmp"
  check "laid out $1, the bitmap looks as the whole picture" looks_whole "$1" "$5"
}
style_check tiled 0 1 1024x768 0.01 up up up
style_check centred 0 0 1025x769 0.01 up up
style_check stretched 2 0 1024x768 0.01 up
check "choose \"Change Image\"" e2e_tray_menu home down enter
check "the change goes on to the next entry" at_entry 1
check "the next entry's bitmap looks as that whole picture" looks_whole stretched 0.01 flop.jpg
check "the entry after it has its bitmap made ahead" e2e_wait_file "$E2E_WINDIR/Kestrova.next.bmp"
check "Exit ends the program" eval "e2e_exit_program && e2e_wait_program_exit"
check "no bitmap made ahead is left behind" test ! -e "$E2E_WINDIR/Kestrova.next.bmp"
e2e_finish
