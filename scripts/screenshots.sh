#!/usr/bin/env bash
# Takes the README's pictures from the real program under Wine, on a private X display
# with a fresh prefix and the sample wallpapers of make-samples.sh, into docs/:
#   settings-basic.png, settings-change.png, settings-file-list.png, settings-about.png
#     the four pages of the settings window (the file list with a JPEG previewed)
#   tray-menu.png            the icon's menu, open over the taskbar
#   desktop-after-change.png the whole desktop after "Change Image" to a JPEG, centred
# Usage: scripts/screenshots.sh
# PS_BUILD_DIR names another build folder than build/win64 (it must be configured).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${PS_BUILD_DIR:-$root/build/win64}
docs="$root/docs"

"$root/scripts/bootstrap.sh" || exit 1
if [ ! -f "$build/build.ninja" ] && [ ! -f "$build/Makefile" ]; then
  [ "$build" = "$root/build/win64" ] || { echo "$build is not a configured build folder" >&2; exit 1; }
  (cd "$root" && cmake --preset win64 >/dev/null) || exit 1
fi
cmake --build "$build" --target Papershift7 psdriver -j2 || exit 1

export PS_EXE="$build/Papershift7.exe" PS_DRIVER="$build/tests/e2e/psdriver.exe"
# Always a private display: the pictures must not depend on the caller's screen.
unset DISPLAY
# shellcheck source=../tests/e2e/lib.sh
source "$root/tests/e2e/lib.sh"

# fail WHAT: ends the session, with a picture of the desktop as it was.
fail() {
  e2e_log "failed: $1"
  e2e_screenshot "$PS_ARTIFACTS/screenshots-failure.png" 2>/dev/null &&
    e2e_log "the desktop at that moment: $PS_ARTIFACTS/screenshots-failure.png"
  e2e_teardown
  exit 1
}

# step WHAT COMMAND...: one step of the session, its output on stderr only on failure.
step() {
  local what=$1 output
  shift
  if output=$("$@" 2>&1); then
    case "$what" in *.png) e2e_log "wrote docs/$what" ;; esac
    return 0
  fi
  [ -n "$output" ] && printf '%s\n' "$output" | sed 's/^/    /' >&2
  fail "$what"
}

e2e_setup
"$root/scripts/make-samples.sh" "$E2E_WINDIR/Web/Wallpaper/Windows" || fail "cannot make the sample pictures"
mkdir -p "$docs"
title=$E2E_TITLE
full="$E2E_DIR/desktop.png"

# shot NAME [CLASS CAPTION]: the desktop, or cropped to one window.
shot() {
  local name=$1 rect l t r b
  e2e_screenshot "$full" || return 1
  if [ $# -eq 3 ]; then
    rect=$(drv rect "$2" "$3") || return 1
    IFS=, read -r l t r b <<<"$rect"
    convert "$full" -crop "$((r - l))x$((b - t))+$l+$t" +repage "$docs/$name" || return 1
  else
    cp "$full" "$docs/$name"
  fi
}


# Pages and previews paint after the click that shows them.
page() {
  drv tab TForm1 "$title" "$1" && sleep 0.5
}

# shellcheck disable=SC2119  # no arguments: the program has no options
e2e_start_program
step "start" drv wait TForm5 '*' --timeout 30000
# The splash shows shortly after the start and hides by itself.
if drv wait TForm2 '*' --visible --timeout 8000 >/dev/null 2>&1; then
  step "the splash hides" drv wait TForm2 '*' --hidden --timeout 15000
fi
step "no error box at start" drv msgbox-none --for 500

# -- the settings window ---------------------------------------------------------------
step "double-click on the icon" drv trayicon-click "$title" 515
step "the settings window shows" drv wait TForm1 "$title" --visible --timeout 10000
step "the settings window rests" e2e_window_at_rest TForm1 "$title"
step "settings-basic.png" shot settings-basic.png TForm1 "$title"
step "page Change Options" page 1
step "settings-change.png" shot settings-change.png TForm1 "$title"

# The list holds the bitmaps first, then the JPEG images; preview the dawn picture.
step "page File List" page 2
list=$(drv listbox TForm1 "$title") || fail "read the list"
jpeg=$(tail -n +2 <<<"$list" | grep -n 'Papershift Dawn\.jpg$' | cut -d: -f1)
[ -n "$jpeg" ] || fail "no Papershift Dawn.jpg in the list: $list"
jpeg=$((jpeg - 1))
step "select the JPEG" drv listselect TForm1 "$title" "$jpeg"
sleep 1
step "no error box after the preview" drv msgbox-none --for 500
step "settings-file-list.png" shot settings-file-list.png TForm1 "$title"
step "page About" page 3
step "settings-about.png" shot settings-about.png TForm1 "$title"

# Centred style, and the entry before the JPEG selected, so that "Change Image" installs
# the JPEG; Done applies the selection and hides the window.
step "page File List" page 2
step "style Center" drv comboselect TForm1 "$title" 1
step "select the entry before the JPEG" drv listselect TForm1 "$title" $((jpeg - 1))
step "Done" drv click TForm1 "$title" Done
step "the settings window hides" drv wait TForm1 "$title" --hidden --timeout 10000
step "no error box after Done" drv msgbox-none --for 500

# -- the icon's menu ---------------------------------------------------------------------
# The menu opens where the pointer is: put it on the taskbar beside the icon (on the icon
# itself its tool tip would show through the menu).
icons=$(drv trayicons) || fail "read the notification area"
icon=$(awk -F'\t' -v tip="$title" '$1 == 1 && $3 == tip { print $2; exit }' <<<"$icons")
[ -n "$icon" ] || fail "the icon is not in the notification area"
IFS=, read -r il it _ ib <<<"$icon"
step "pointer beside the icon" drv cursor $((il - 16)) $(((it + ib) / 2))
step "right press on the icon" drv tray 516
step "the menu opens" drv wait '#32768' '*' --visible --timeout 5000
sleep 0.5
menu_shot() {
  local l t r b
  IFS=, read -r l t r b <<<"$(drv rect '#32768' '*')" || return 1
  l=$((l > 64 ? l - 64 : 0))
  t=$((t > 40 ? t - 40 : 0))
  e2e_screenshot "$full" &&
    convert "$full" -crop "$((1024 - l))x$((768 - t))+$l+$t" +repage "$docs/tray-menu.png"
}
step "tray-menu.png" menu_shot
step "close the menu" drv menu esc

# -- the desktop after a change ------------------------------------------------------------
step "right press on the icon" drv tray 516
step "the menu opens" drv wait '#32768' '*' --visible --timeout 5000
step "Change Image" drv menu home down enter
step "no error box after the change" drv msgbox-none --for 500
wallpaper=$(drv regget 'Control Panel\Desktop' Wallpaper) || fail "read the wallpaper"
[ "$wallpaper" = 'C:\windows\Kestrova.bmp' ] ||
  fail "the change installed $wallpaper, not the converted JPEG"
# Wine's desktop paints a wallpaper as large as the screen over the taskbar too.
sleep 1
step "repaint the taskbar" drv redraw Shell_TrayWnd '*'
sleep 0.5
step "desktop-after-change.png" shot desktop-after-change.png

e2e_teardown
echo "Screenshots written to $docs"
