# Sourced: a private Xvfb display and a Wine prefix copied from the template.
# wine_env_start PREFIX  sets DISPLAY, WINEPREFIX, WINEDEBUG and starts the server.
# wine_env_stop          ends the prefix's processes and the display.
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
    local n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$prefix/xvfb.log" 2>&1 &
    WINE_ENV_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
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
  if [ -n "${WINE_ENV_XVFB_PID:-}" ]; then
    kill "$WINE_ENV_XVFB_PID" 2>/dev/null || true
    wait "$WINE_ENV_XVFB_PID" 2>/dev/null || true
    WINE_ENV_XVFB_PID=
  fi
}
