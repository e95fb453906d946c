# shellcheck shell=bash
# Sourced: the one way the scripts start a private X display.
#   xvfb_start DIR [SCREEN]  starts Xvfb (SCREEN defaults to 1024x768x24) with its output in
#                            DIR/xvfb.log, exports DISPLAY and sets XVFB_PID; when the server
#                            does not come up it says why on stderr and fails
#   xvfb_stop                ends that server
xvfb_start() {
  local dir=$1 screen=${2:-1024x768x24} pid _
  XVFB_PID=
  rm -f "$dir/xvfb.display"
  # -displayfd: the server picks a free display and writes its number once it accepts
  # connections; numbers probed by hand race with other servers starting at that moment.
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$dir/xvfb.display" \
    >"$dir/xvfb.log" 2>&1 </dev/null &
  pid=$!
  for _ in $(seq 200); do
    [ -s "$dir/xvfb.display" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  if [ ! -s "$dir/xvfb.display" ]; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    echo "Xvfb did not start: $(cat "$dir/xvfb.log")" >&2
    return 1
  fi
  XVFB_PID=$pid
  DISPLAY=":$(cat "$dir/xvfb.display")"
  export DISPLAY
}

xvfb_stop() {
  [ -n "${XVFB_PID:-}" ] || return 0
  kill "$XVFB_PID" 2>/dev/null || true
  wait "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=
}
