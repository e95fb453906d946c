# shellcheck shell=bash
# Sourced by the end-to-end tests (tests/e2e/test_*.sh): a fresh Wine prefix with a
# virtual desktop per test, the real Papershift7.exe started in it, the driver
# psdriver.exe to act on its windows, and pass/fail bookkeeping.
#
#   e2e_setup                  fresh prefix, desktop, server (and an Xvfb if DISPLAY is unset)
#   e2e_image NAME SIZE [COLOUR...]   a sample BMP or JPEG among the system's wallpapers
#   e2e_start_program [ARGS]   starts the program in the background
#   e2e_settings NAME=VALUE... text values under the program's key (before the start)
#   e2e_started                start-up has run to its end with no error box
#   e2e_tray_menu KEY...       the icon's menu, opened with the right button, steered by keys
#   e2e_exit_program           "Exit Program" chosen from the icon's menu
#   e2e_show_settings          the icon's double-click shows the settings window
#   e2e_prompt_open            the icon's double-click shows the password prompt
#   e2e_prompt_answer TEXT     TEXT typed into the prompt, then "Ok": the prompt closes
#   e2e_keep_desktop           keeps the desktop up while the program restarts
#   drv COMMAND ARGS...        runs psdriver.exe (see psdriver.cpp for the commands)
#   check NAME COMMAND...      counts a pass when COMMAND succeeds
#   check_eq NAME WANT COMMAND...     ... when COMMAND prints exactly WANT
#   check_match NAME REGEX COMMAND... ... when its output matches REGEX
#   e2e_wait_program_exit [SECONDS]   the program's own process has ended
#   e2e_tray_icon_shown TIP    an icon with that tip shows in the notification area
#   e2e_screenshot FILE.png    the virtual desktop as it is now
#   e2e_finish                 teardown, "N passed, M failed", exit status
#
# After e2e_setup: WINEPREFIX, E2E_DIR (the test's temporary folder), E2E_WINDIR
# (C:\windows), E2E_APP_DIR and E2E_APP_DIR_WIN (the program's folder, C:\Papershift7,
# also its working directory).
#
# Environment (ctest sets these; the defaults suit a run by hand after a win64 build):
# PS_EXE, PS_DRIVER, PS_TEMPLATE_PREFIX, PS_ARTIFACTS, and for the package tests
# PS_PACKAGES and PS_VERSION; KEEP_E2E=1 keeps the prefix.

E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# shellcheck source=scripts/xvfb.sh
source "$E2E_ROOT/scripts/xvfb.sh"
: "${PS_EXE:=$E2E_ROOT/build/win64/Papershift7.exe}"
: "${PS_DRIVER:=$E2E_ROOT/build/win64/tests/e2e/psdriver.exe}"
: "${PS_TEMPLATE_PREFIX:=$E2E_ROOT/build/wineprefix}"
: "${PS_ARTIFACTS:=$E2E_ROOT/build/e2e-artifacts}"
: "${PS_PACKAGES:=$E2E_ROOT/build/win64/package}"
: "${PS_VERSION:=$(sed -n 's/^#define PS_VERSION_TEXT "\(.*\)"/\1/p' \
  "$E2E_ROOT/build/win64/generated/Version.h" 2>/dev/null)}"
# The program's settings key under HKCU and the title of its windows, for the scripts.
# shellcheck disable=SC2034
E2E_PROGRAM_KEY='Software\Kestrova\Papershift 7\Program'
# shellcheck disable=SC2034
E2E_TITLE='Papershift 7'
E2E_NAME=$(basename "$0" .sh)
E2E_NAME=${E2E_NAME#test_}
E2E_DESKTOP=Papershift
E2E_DESKTOP_SIZE=1024x768
E2E_PASSED=0
E2E_FAILED=0
E2E_DIR=
E2E_XVFB_PID=
E2E_PROGRAM_PID=
E2E_SHOT_ON_FAILURE=1

e2e_log() { printf '[%s] %s\n' "$E2E_NAME" "$*" >&2; }

# Setup that cannot be done: no test can run, which is a failure, not a skip.
e2e_abort() {
  e2e_log "cannot run: $*"
  e2e_teardown
  echo "0 passed, 1 failed"
  exit 1
}

e2e_setup() {
  local f
  for f in "$PS_EXE" "$PS_DRIVER"; do
    [ -f "$f" ] || e2e_abort "missing $f (build the win64 preset first)"
  done
  [ -f "$PS_TEMPLATE_PREFIX/.papershift-ready" ] ||
    e2e_abort "no template prefix in $PS_TEMPLATE_PREFIX (run scripts/bootstrap.sh)"
  mkdir -p "$PS_ARTIFACTS"
  E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/ps-e2e-$E2E_NAME.XXXXXX")
  trap e2e_teardown EXIT
  trap 'e2e_log "interrupted"; exit 130' INT TERM

  # Copying the template takes about a second; wineboot into a new prefix takes ten.
  export WINEPREFIX="$E2E_DIR/prefix" WINEARCH=win64 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  # "/.": a template that is a symbolic link (a clone's build/wineprefix) is copied, not
  # linked; a link would let the test write into the shared template.
  cp -a "$PS_TEMPLATE_PREFIX/." "$WINEPREFIX" || e2e_abort "cannot copy the template prefix"
  rm -f "$WINEPREFIX/wineserver.log" "$WINEPREFIX/xvfb.log"

  if [ -z "${DISPLAY:-}" ]; then
    xvfb_start "$E2E_DIR" "${E2E_SCREEN:-1280x1024x24}" || e2e_abort "no X display"
    E2E_XVFB_PID=$XVFB_PID
  fi

  # The server would inherit our output and keep a capturing pipe open.
  wineserver -p >"$E2E_DIR/wineserver.log" 2>&1 </dev/null
  e2e_watchdog

  # The virtual desktop is the prefix's default, so that every process of the test,
  # the driver included, lives on it: windows on another desktop cannot be found.
  # EnableShell gives it the taskbar with the notification area.
  cat >"$E2E_DIR/desktop.reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="$E2E_DESKTOP"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"$E2E_DESKTOP"="$E2E_DESKTOP_SIZE"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops\\$E2E_DESKTOP]
"EnableShell"=dword:00000001
REG
  wine regedit /S "$(e2e_winpath "$E2E_DIR/desktop.reg")" </dev/null >"$E2E_DIR/regedit.log" 2>&1 ||
    e2e_abort "cannot import the desktop settings ($(cat "$E2E_DIR/regedit.log"))"
  [ "$(drv regget 'Software\Wine\Explorer' Desktop)" = "$E2E_DESKTOP" ] ||
    e2e_abort "the desktop setting did not reach the registry"
  # The desktop with its taskbar must be up before the program starts: an icon added
  # before the notification area exists is refused. The program adds it again when the
  # shell broadcasts "TaskbarCreated", but Wine's desktop never sends that broadcast.
  drv wait Shell_TrayWnd '*' --visible --timeout 30000 >/dev/null ||
    e2e_abort "the virtual desktop's taskbar did not appear"

  # The program lives in its own folder, which is also its working directory (the
  # default list file is written there).
  E2E_APP_DIR="$WINEPREFIX/drive_c/Papershift7"
  # shellcheck disable=SC2034  # for the tests
  E2E_APP_DIR_WIN='C:\Papershift7'
  mkdir -p "$E2E_APP_DIR"
  cp "$PS_EXE" "$E2E_APP_DIR/Papershift7.exe"
  E2E_WINDIR="$WINEPREFIX/drive_c/windows"
  e2e_log "prefix $WINEPREFIX, display $DISPLAY"
}

# Ends the prefix's processes even when ctest kills this script on a timeout: a
# detached watcher waits for the script to go and, unless the teardown ran (it
# removes the marker), cleans up what is left.
e2e_watchdog() {
  touch "$E2E_DIR/.running"
  # shellcheck disable=SC2016  # expanded by the watcher
  setsid -f bash -c '
    while kill -0 "$1" 2>/dev/null; do sleep 1; done
    [ -e "$0/.running" ] || exit 0
    WINEPREFIX="$0/prefix" wineserver -k
    if [ -n "$2" ]; then kill "$2"; fi
    if [ -z "$3" ]; then rm -rf "$0"; fi
  ' "$E2E_DIR" "$$" "$E2E_XVFB_PID" "${KEEP_E2E:-}" </dev/null >/dev/null 2>&1
}

# The Windows path of a file of the prefix (C:) or of the Linux file system (Z:).
e2e_winpath() {
  local path=$1
  case "$path" in
    "$WINEPREFIX/drive_c/"*) path="C:/${path#"$WINEPREFIX/drive_c/"}" ;;
    /*) path="Z:$path" ;;
  esac
  printf '%s\n' "${path//\//\\}"
}

e2e_teardown() {
  trap - EXIT
  if [ -n "$E2E_DIR" ] && [ -d "$E2E_DIR/prefix" ]; then
    # -k also writes the registry files; -w returns once the server has gone.
    wineserver -k >/dev/null 2>&1 </dev/null
    wineserver -w >/dev/null 2>&1 </dev/null
    if [ -n "$E2E_PROGRAM_PID" ]; then
      wait "$E2E_PROGRAM_PID" 2>/dev/null
      E2E_PROGRAM_PID=
    fi
  fi
  if [ -n "$E2E_XVFB_PID" ]; then
    kill "$E2E_XVFB_PID" 2>/dev/null
    wait "$E2E_XVFB_PID" 2>/dev/null
    E2E_XVFB_PID=
  fi
  if [ -n "$E2E_DIR" ] && [ -d "$E2E_DIR" ]; then
    rm -f "$E2E_DIR/.running"
    if [ -n "${KEEP_E2E:-}" ]; then
      e2e_log "kept $E2E_DIR"
    else
      rm -rf "$E2E_DIR"
    fi
  fi
  E2E_DIR=
}

# e2e_image NAME SIZE [COLOUR...]: a picture where a stock Windows keeps its wallpapers,
# C:\windows\Web\Wallpaper\Windows, or in another theme's folder for "Theme1/NAME";
# nothing goes into C:\windows itself, as on Windows 7 to 11. The extension (.bmp or
# .jpg) picks the format, two colours make a gradient. Plain 24-bit BMP (BMP3): the
# 40-byte header every reader knows.
e2e_image() {
  local name=$1 size=$2 from=${3:-steelblue} to=${4:-}
  local fill="xc:$from"
  [ -n "$to" ] && fill="gradient:$from-$to"
  [[ $name == */* ]] || name="Windows/$name"
  local out="$E2E_WINDIR/Web/Wallpaper/$name"
  mkdir -p "$(dirname "$out")"
  case "$name" in
    *.bmp | *.BMP) convert -size "$size" "$fill" -type TrueColor "BMP3:$out" ;;
    *.jpg | *.JPG | *.jpeg) convert -size "$size" "$fill" -quality 90 "JPEG:$out" ;;
    *) e2e_abort "e2e_image: unknown picture type: $name" ;;
  esac || e2e_abort "convert failed for $name"
}

e2e_start_program() {
  (cd "$E2E_APP_DIR" && exec wine Papershift7.exe "$@" </dev/null >"$E2E_DIR/program.log" 2>&1) &
  E2E_PROGRAM_PID=$!
}

# e2e_settings NAME=VALUE...: text values under the program's key; "Security\NAME" is in
# its subkey. A value that cannot be stored ends the test.
e2e_settings() {
  local pair name key
  for pair in "$@"; do
    name=${pair%%=*} key=$E2E_PROGRAM_KEY
    if [[ $name == *\\* ]]; then key+="\\${name%\\*}" name=${name##*\\}; fi
    drv regset "$key" "$name" sz "${pair#*=}" >/dev/null || e2e_abort "cannot store $pair"
  done
}

# The prompt, made last, exists and no error box is open a second later.
e2e_started() {
  drv wait TForm5 '*' --timeout 30000 >/dev/null && drv msgbox-none --for 1000
}

e2e_tray_menu() {
  drv tray 516 >/dev/null && drv wait '#32768' '*' --visible --timeout 5000 >/dev/null &&
    drv menu "$@" >/dev/null
}

# Exit Program is the menu's last entry.
e2e_exit_program() { e2e_tray_menu end enter; }

e2e_show_settings() {
  drv trayicon-click "$E2E_TITLE" 515 >/dev/null &&
    drv wait TForm1 "$E2E_TITLE" --visible >/dev/null
}

e2e_prompt_open() {
  drv trayicon-click "$E2E_TITLE" 515 >/dev/null && drv wait TForm5 Password --visible >/dev/null
}

e2e_prompt_answer() {
  drv settext TForm5 Password Edit "$1" && drv click TForm5 Password Ok &&
    drv wait TForm5 Password --hidden --timeout 20000 >/dev/null
}

# Wine ends the desktop once its last program has gone; this window keeps it for restarts.
e2e_keep_desktop() {
  wine "$PS_DRIVER" decoy PsKeepDesktop 600000 </dev/null >/dev/null 2>&1 &
}

# The program's own process has ended (the desktop's explorer stays).
e2e_wait_program_exit() {
  local seconds=${1:-10} _
  [ -n "$E2E_PROGRAM_PID" ] || return 1
  for _ in $(seq $((seconds * 10))); do
    if ! kill -0 "$E2E_PROGRAM_PID" 2>/dev/null; then
      wait "$E2E_PROGRAM_PID" 2>/dev/null
      E2E_PROGRAM_PID=
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# e2e_wait_file FILE: within 10 s FILE exists. The program writes a file after the
# dialog that named it has closed, so a test that reads it waits for it first.
e2e_wait_file() {
  local _
  for _ in $(seq 100); do
    [ -e "$1" ] && return 0
    sleep 0.1
  done
  echo "no file $1 after 10 s"
  return 1
}

# e2e_window_at_rest CLASS CAPTION: within about 20 s the window stops moving. The
# settings window slides in when shown and is usable once it rests.
e2e_window_at_rest() {
  local a b _
  for _ in $(seq 100); do
    a=$(drv rect "$1" "$2") && sleep 0.2 && b=$(drv rect "$1" "$2") && [ "$a" = "$b" ] &&
      return 0
  done
  echo "$1 \"$2\" still moving: $b"
  return 1
}

# e2e_tray_icon_shown TIP: within 10 s an icon with that tip is shown.
e2e_tray_icon_shown() {
  local tip=$1 icons _
  for _ in $(seq 50); do
    icons=$(drv trayicons) && awk -F'\t' -v tip="$tip" '$1 == 1 && $3 == tip { found = 1 }
      END { exit !found }' <<<"$icons" && return 0
    sleep 0.2
  done
  echo "icons: $icons"
  return 1
}

# The driver's output goes through files: a process that Wine starts on the driver's
# behalf (the desktop's explorer) inherits its output and would keep a pipe, and so
# a "$(drv ...)", open for ever.
drv() {
  local rc
  wine "$PS_DRIVER" "$@" </dev/null >"$E2E_DIR/drv.out" 2>"$E2E_DIR/drv.err"
  rc=$?
  cat "$E2E_DIR/drv.out"
  cat "$E2E_DIR/drv.err" >&2
  # A driver that died without a word (a crash, with WINEDEBUG=-all) still says so.
  if [ $rc -ne 0 ] && [ ! -s "$E2E_DIR/drv.err" ]; then
    echo "psdriver $1: exit code $rc, no message" >&2
  fi
  return $rc
}

# e2e_screenshot FILE.png: this prefix's desktop through the driver (tests may share
# one X display, so the root window could show another test's desktop); the root
# window of the display when that fails.
e2e_screenshot() {
  local out=$1 bmp="$E2E_DIR/screen.bmp"
  mkdir -p "$(dirname "$out")"
  if drv screenshot "$(e2e_winpath "$bmp")" >/dev/null && convert "$bmp" "$out" 2>/dev/null; then
    rm -f "$bmp"
    return 0
  fi
  import -window root "$out"
}

e2e_pass() {
  E2E_PASSED=$((E2E_PASSED + 1))
  echo "ok $1"
}

# Prints the failure and what the command said; the first failure also leaves a
# screenshot in the artifacts folder.
e2e_fail() {
  local name=$1 output=$2
  E2E_FAILED=$((E2E_FAILED + 1))
  echo "FAIL $name"
  [ -n "$output" ] && printf '%s\n' "$output" | sed 's/^/    /'
  if [ "$E2E_SHOT_ON_FAILURE" = 1 ] && [ -n "$E2E_DIR" ]; then
    E2E_SHOT_ON_FAILURE=0
    e2e_screenshot "$PS_ARTIFACTS/$E2E_NAME-failure.png" 2>/dev/null &&
      echo "    screenshot: $PS_ARTIFACTS/$E2E_NAME-failure.png"
  fi
}

# check NAME COMMAND...
check() {
  local name=$1 output
  shift
  if output=$("$@" 2>&1); then
    e2e_pass "$name"
  else
    e2e_fail "$name" "$output"
  fi
}

# Runs COMMAND, its output in E2E_GOT and its error output in E2E_ERR.
e2e_capture() {
  local rc
  E2E_GOT=$("$@" 2>"$E2E_DIR/stderr")
  rc=$?
  E2E_ERR=$(cat "$E2E_DIR/stderr")
  return $rc
}

# check_eq NAME WANT COMMAND...: the command succeeds and prints exactly WANT.
check_eq() {
  local name=$1 want=$2
  shift 2
  if e2e_capture "$@" && [ "$E2E_GOT" = "$want" ]; then
    e2e_pass "$name"
  else
    e2e_fail "$name" "expected: $want
got:      $E2E_GOT${E2E_ERR:+
$E2E_ERR}"
  fi
}

# check_match NAME REGEX COMMAND...: the command succeeds and its output matches.
check_match() {
  local name=$1 pattern=$2
  shift 2
  if e2e_capture "$@" && [[ $E2E_GOT =~ $pattern ]]; then
    e2e_pass "$name"
  else
    e2e_fail "$name" "expected to match: $pattern
got: $E2E_GOT${E2E_ERR:+
$E2E_ERR}"
  fi
}

e2e_finish() {
  e2e_teardown
  echo "$E2E_PASSED passed, $E2E_FAILED failed"
  [ "$E2E_FAILED" -eq 0 ] && [ "$E2E_PASSED" -gt 0 ]
  exit
}
