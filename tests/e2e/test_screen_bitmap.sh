#!/usr/bin/env bash
# A JPEG larger than the desktop becomes a bitmap of what the desktop shows of it: in each
# style from the icon's menu, the bitmap laid out on the screen as Windows lays it out looks
# as the whole picture laid out the same way.
# shellcheck disable=SC2317  # functions run through check
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
e2e_setup

# Odd sizes, so that the centred cut meets the rounding of an odd margin; a plasma shows any
# misplaced cut, blurred so that resampling from another size hardly differs.
pics="$WINEPREFIX/drive_c/Bilder"
mkdir -p "$pics"
convert -size 1601x1001 -seed 25 plasma:fractal -blur 0x3 -quality 95 "$pics/big.jpg" ||
  e2e_abort "cannot make the picture"
printf 'C:\\Bilder\\big.jpg\r\n' >"$pics/list.kvl"
program=$E2E_PROGRAM_KEY
for value in 'FileListSource C:\Bilder\list.kvl' "ItemIndex 0" "RestartChange 0" "ShowSplash 0"; do
  drv regset "$program" "${value%% *}" sz "${value#* }" || e2e_abort "cannot store $value"
done

e2e_start_program
check "the program starts" drv wait TForm5 '*' --timeout 30000
check "no error box at start" drv msgbox-none --for 1000

# lay_out STYLE FILE OUT: FILE on a 1024 x 768 screen as Windows shows it in STYLE.
lay_out() {
  case $1 in
    tiled) convert -size 1024x768 "tile:$2" "$3" ;;
    centred) convert "$2" -gravity center -background black -extent 1024x768 "$3" ;;
    stretched) convert "$2" -resize '1024x768!' "$3" ;;
  esac
}
# looks_whole STYLE LIMIT: the bitmap laid out differs from the whole picture laid out by at
# most LIMIT (root mean square, 1 = black against white).
looks_whole() {
  local d
  lay_out "$1" "$E2E_WINDIR/Kestrova.bmp" "$E2E_DIR/bitmap.png" &&
    lay_out "$1" "$pics/big.jpg" "$E2E_DIR/whole.png" || return 1
  d=$(compare -metric RMSE "$E2E_DIR/bitmap.png" "$E2E_DIR/whole.png" null: 2>&1 |
    sed -nE 's/.*\(([0-9.e-]+)\).*/\1/p')
  echo "difference $d"
  awk -v d="$d" -v m="$2" 'BEGIN { exit !(d != "" && d <= m) }'
}
applied() {  # applied WALLPAPERSTYLE TILEWALLPAPER: the apply has written the desktop values
  local _
  for _ in $(seq 40); do
    [ "$(drv regget 'Control Panel\Desktop' WallpaperStyle) $(drv regget 'Control Panel\Desktop' TileWallpaper)" = "$1 $2" ] &&
      return 0
    sleep 0.25
  done
  return 1
}
tray_menu() {
  drv tray 516 && drv wait '#32768' '*' --visible --timeout 5000 >/dev/null && drv menu "$@"
}

# style_check NAME WALLPAPERSTYLE TILEWALLPAPER SIZE LIMIT KEY...: the style's entry of the
# icon's menu (KEY... from its end), and the bitmap that its apply makes.
style_check() {
  local name=$1 ws=$2 tw=$3 size=$4 limit=$5
  shift 5
  check "choose the $name style from the icon's menu" tray_menu end "$@" enter
  check "the $name apply writes the desktop values" applied "$ws" "$tw"
  check "no error box after the $name apply" drv msgbox-none --for 300
  check_eq "the $name bitmap holds only what the screen shows" "$size" \
    identify -format '%wx%h' "$E2E_WINDIR/Kestrova.bmp"
  check "laid out $name, the bitmap looks as the whole picture" looks_whole "$name" "$limit"
}
style_check tiled 0 1 1024x768 0.01 up up up
style_check centred 0 0 1025x769 0.01 up up
style_check stretched 2 0 1401x876 0.03 up

e2e_finish
