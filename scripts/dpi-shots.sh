#!/usr/bin/env bash
# The program's windows at 125, 150 and 200 percent (LogPixels 120, 144, 192), each in a
# fresh prefix laid out as a stock Windows, as one picture per setting:
# build/e2e-artifacts/dpi-N.png holds the password prompt, the four pages of the settings
# window, a notice and the password dialog, side by side. Look at them: every caption
# whole, nothing cut off or overlapping. Needs a win64 build.
# Usage: scripts/dpi-shots.sh [DPI...]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=../tests/e2e/lib.sh
source "$root/tests/e2e/lib.sh"
E2E_SCREEN=1600x1200x24
E2E_DESKTOP_SIZE=1600x1200
out=$PS_ARTIFACTS

fail() {
  e2e_log "failed: $1"
  e2e_teardown
  exit 1
}
# shot CLASS CAPTION: the window, cropped from the desktop, as the next part of the picture.
shot() {
  local l t r b
  drv wait "$1" "$2" --visible --timeout 10000 >/dev/null && sleep 0.5 &&
    e2e_screenshot "$E2E_DIR/desktop.png" && IFS=, read -r l t r b < <(drv rect "$1" "$2") &&
    convert "$E2E_DIR/desktop.png" -crop "$((r - l))x$((b - t))+$l+$t" +repage \
      "$E2E_DIR/part-$((parts += 1)).png" || fail "picture of $1 $2"
}

dpis=("$@")
[ $# -gt 0 ] || dpis=(120 144 192)
for dpi in "${dpis[@]}"; do
  E2E_NAME=dpi-$dpi parts=0
  unset DISPLAY  # a private display each time, large enough for the 200 percent windows
  e2e_setup
  e2e_image sample-a.jpg 640x480 orange firebrick
  e2e_image Theme1/sample-b.bmp 320x240 steelblue
  p=$E2E_PROGRAM_KEY t=$E2E_TITLE
  { drv regset 'Control Panel\Desktop' LogPixels dword "$dpi" && drv regset "$p" ShowSplash sz 0 &&
    drv regset "$p" UseAnimation sz 0 && drv regset "$p\\Security" UsePwd sz 1; } >/dev/null ||
    fail "settings"
  e2e_start_program
  drv wait TForm5 '*' --timeout 30000 >/dev/null || fail "start-up"
  drv tray 515 >/dev/null && shot TForm5 Password
  drv click TForm5 Password Ok >/dev/null
  for page in 0 1 2 3; do
    drv tab TForm1 "$t" "$page" >/dev/null && shot TForm1 "$t"
  done
  drv tab TForm1 "$t" 0 >/dev/null &&
    drv mouseclick TForm1 "$t" "Start program automatically at Windows startup" >/dev/null &&
    shot TForm3 "Important Information"
  # The notice stays on top of the centred dialog: closed first.
  drv click TForm3 "Important Information" Ok >/dev/null &&
    drv click TForm1 "$t" "Change.." --nth 1 >/dev/null && shot TForm4 '*'
  convert "$E2E_DIR"/part-{1..7}.png -background '#404040' -gravity north -splice 0x8 +append \
    "$out/dpi-$dpi.png" || fail "montage"
  e2e_log "wrote $out/dpi-$dpi.png"
  e2e_teardown
done
