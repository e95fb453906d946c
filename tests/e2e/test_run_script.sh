#!/usr/bin/env bash
# ./run.sh pointed at a Wine prefix it did not make (the user's own ~/.wine) refuses with
# a clear message and leaves the folder as it was.
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/ps-e2e-$E2E_NAME.XXXXXX")
foreign="$E2E_DIR/users-own-prefix"
mkdir -p "$foreign/drive_c"
echo keep >"$foreign/drive_c/precious.txt"

WINEPREFIX="$foreign" "$E2E_ROOT/run.sh" --screenshot "$E2E_DIR/shot.png" >"$E2E_DIR/run.log" 2>&1
check_eq "run.sh refuses a foreign prefix" 1 echo $?
check_match "it says which folder it leaves alone" "$foreign.*not a Papershift 7 demo prefix" \
  cat "$E2E_DIR/run.log"
check_eq "the foreign prefix keeps its files" keep cat "$foreign/drive_c/precious.txt"
e2e_finish
