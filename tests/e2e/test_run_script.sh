#!/usr/bin/env bash
# ./run.sh given a Wine prefix it did not make refuses it and leaves it as it was.
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/ps-e2e-$E2E_NAME.XXXXXX")
mkdir -p "$E2E_DIR/own/drive_c" && echo keep >"$E2E_DIR/own/drive_c/mine.txt"
check_match "run.sh refuses a foreign prefix" "own exists but is not a Papershift 7 demo prefix" \
  bash -c '! WINEPREFIX="$0/own" "$1/run.sh" --screenshot "$0/x.png" 2>&1' "$E2E_DIR" "$E2E_ROOT"
check_eq "and keeps its files" keep cat "$E2E_DIR/own/drive_c/mine.txt"
e2e_finish
