#!/usr/bin/env bash
# Installs what is missing, builds, and starts Papershift 7 in a Wine virtual desktop
# window. The demo prefix (build/demo-prefix, or $WINEPREFIX when set) is laid out as a
# stock Windows: a few sample wallpapers under C:\windows\Web\Wallpaper, none in the
# Windows directory itself; a folder that is not such a prefix is never touched.
#   ./run.sh                      run until the program ends ("Exit Program" in its icon menu)
#   ./run.sh --screenshot FILE    run for a while, save a picture of the desktop, stop
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
screenshot=""
seconds=8
usage="usage: ./run.sh [--screenshot FILE] [--seconds N]"
while [ $# -gt 0 ]; do
  case "$1" in
    --screenshot)
      case ${2:-} in "" | -*) echo "$usage" >&2; exit 2 ;; esac
      screenshot=$(realpath -m "$2")
      # Checked now, not after minutes of building.
      if [ ! -d "$(dirname "$screenshot")" ]; then
        echo "run.sh: no folder $(dirname "$screenshot") for the screenshot" >&2
        exit 2
      fi
      shift 2 ;;
    --seconds)
      [[ ${2:-} =~ ^[0-9]+(\.[0-9]+)?$ ]] || { echo "$usage" >&2; exit 2; }
      seconds=$2
      shift 2 ;;
    -h | --help) echo "$usage"; exit 0 ;;
    *) echo "$usage" >&2; exit 2 ;;
  esac
done

# Only a prefix that this script made (it carries the marker) is used; any other folder
# is left alone, whatever it holds: it may be the user's own Wine prefix.
prefix=${WINEPREFIX:-$root/build/demo-prefix}
if [ -e "$prefix" ] && [ ! -f "$prefix/.papershift-ready" ]; then
  echo "run.sh: $prefix exists but is not a Papershift 7 demo prefix; it is left as it is." >&2
  echo "Unset WINEPREFIX to use build/demo-prefix, or set it to a folder that does not exist yet." >&2
  exit 1
fi

"$root/scripts/bootstrap.sh"
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Papershift7 -j2

if [ ! -e "$prefix" ]; then
  # Copied beside and moved in whole, so an interrupted copy never leaves a half prefix.
  partial="$prefix.partial.$$"
  trap 'rm -rf "$partial"' EXIT
  cp -a "$root/build/wineprefix/." "$partial"  # contents: build/wineprefix may be a link
  mv "$partial" "$prefix"
  trap - EXIT
fi
# Earlier versions put the samples into the Windows directory itself, where no stock
# Windows keeps a picture: they go, and with them the demo's list that named them.
shopt -s nullglob
old_samples=("$prefix/drive_c/windows/Papershift "*.bmp "$prefix/drive_c/windows/Papershift "*.jpg)
shopt -u nullglob
if [ ${#old_samples[@]} -gt 0 ]; then
  rm -f "${old_samples[@]}" "$prefix/drive_c/users/default.kvl"
fi
"$root/scripts/make-samples.sh" "$prefix/drive_c/windows/Web/Wallpaper/Windows"

export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# shellcheck source=scripts/xvfb.sh
source "$root/scripts/xvfb.sh"
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  xvfb_stop
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ] || [ -n "$screenshot" ]; then
  xvfb_start "$prefix" || exit 1
  [ -n "$screenshot" ] || echo "No display: Papershift 7 runs on a private X display ($DISPLAY)." \
    "To see it, run ./run.sh --screenshot FILE.png instead."
fi
wineserver -p >"$prefix/wineserver.log" 2>&1 </dev/null || true

exe="$root/build/win64/Papershift7.exe"
cd "$prefix/drive_c/users"  # the working directory, where default.kvl is created
wine explorer /desktop=Papershift,1024x768 "$exe" </dev/null >"$prefix/papershift.log" 2>&1 &
program=$!
if [ -n "$screenshot" ]; then
  sleep "$seconds"
  import -window root "$screenshot"
  echo "Screenshot of the desktop: $screenshot"
else
  wait "$program" || true
fi
