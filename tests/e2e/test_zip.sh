#!/usr/bin/env bash
# The portable zip: unpacked into any folder, the program in it runs from there.
# shellcheck disable=SC2317  # functions run through check
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
e2e_setup
zip="$PS_PACKAGES/Papershift7-$PS_VERSION-win64.zip"
[ -f "$zip" ] || e2e_abort "missing $zip (made by the ctest entry \"package\")"
e2e_image sample-a.bmp 320x240 steelblue

unpacked="$WINEPREFIX/drive_c/users/Public/Downloads/any folder"
mkdir -p "$unpacked"
check "the zip unpacks" bash -c "cd \"\$1\" && cmake -E tar xf \"\$2\"" _ "$unpacked" "$zip"
dir="$unpacked/Papershift7-$PS_VERSION-win64"
contents() { (cd "$unpacked" && find . -type f | sort); }
check_eq "it holds the program and its read-me in one folder, no debug file" \
  "./Papershift7-$PS_VERSION-win64/Papershift7.exe
./Papershift7-$PS_VERSION-win64/ReadMe.txt" contents

(cd "$dir" && exec wine Papershift7.exe </dev/null >"$E2E_DIR/program.log" 2>&1) &
E2E_PROGRAM_PID=$!
check "the unpacked program finishes its start-up" drv wait TForm5 '*' --timeout 30000
check "no error box at start" drv msgbox-none --for 1000
check "its icon shows in the notification area" e2e_tray_icon_shown "Papershift 7"
check "it writes default.kvl beside itself" test -s "$dir/default.kvl"

e2e_finish
