# shellcheck shell=bash
# Sourced: a private Xvfb display and a Wine prefix copied from the template.
# wine_env_start PREFIX  sets DISPLAY, WINEPREFIX, WINEDEBUG and starts the server.
# wine_env_stop          ends the prefix's processes and the display.
# shellcheck source=scripts/xvfb.sh
source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"

wine_env_start() {
  local prefix=$1 template
  template="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/wineprefix"
  export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  local fresh=""
  if [ ! -f "$prefix/.papershift-ready" ]; then
    rm -rf "$prefix"
    cp -a "$template/." "$prefix"  # the template's contents, also when it is a link
    fresh=1
  fi
  if [ -z "${PAPERSHIFT_DISPLAY_KEEP:-}" ]; then
    xvfb_start "$prefix" || return 1
  fi
  wineserver -p >"$prefix/wineserver.log" 2>&1 </dev/null || true
  if [ -n "$fresh" ]; then
    # Without a window manager on Xvfb, Wine waits for every managed window it hides;
    # in-process tests hide many. Unmanaged windows behave the same otherwise.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null \
      >"$prefix/reg.log" 2>&1 || true
  fi
  # Start Wine's long-lived helpers (services, devices, the desktop's explorer) now,
  # with their output in a file: started later by a test, they would inherit the test
  # runner's pipes and keep them open after the test ends.
  wine wineboot </dev/null >"$prefix/services.log" 2>&1 || true
  wine explorer /desktop=shell,1024x768 cmd /c exit </dev/null >>"$prefix/services.log" 2>&1 || true
}

wine_env_stop() {
  wineserver -k >/dev/null 2>&1 || true
  xvfb_stop
}
