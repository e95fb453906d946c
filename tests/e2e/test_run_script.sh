#!/usr/bin/env bash
# ./run.sh given a Wine prefix it did not make refuses it and leaves it as it was; bad
# options are refused before anything is built.
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/ps-e2e-$E2E_NAME.XXXXXX")
mkdir -p "$E2E_DIR/own/drive_c" && echo keep >"$E2E_DIR/own/drive_c/mine.txt"
check_match "run.sh refuses a foreign prefix" "own exists but is not a Papershift 7 demo prefix" \
  bash -c '! WINEPREFIX="$0/own" "$1/run.sh" --screenshot "$0/x.png" 2>&1' "$E2E_DIR" "$E2E_ROOT"
check_eq "and keeps its files" keep cat "$E2E_DIR/own/drive_c/mine.txt"
# An option given without its value gets the usage line, not a shell error.
usage="usage: ./run.sh [--screenshot FILE] [--seconds N]"
check_eq "an option without its value prints the usage" "$usage"$'\n'"$usage" \
  bash -c '! "$0/run.sh" --screenshot 2>&1 && ! "$0/run.sh" --seconds 2>&1' "$E2E_ROOT"
e2e_finish
