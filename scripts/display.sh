# Sourced by the scripts: makes sure an X display is reachable, starting a
# private Xvfb when there is none. Sets KW_XVFB_PID when it started one.
kw_ensure_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  # -noreset: by default Xvfb resets whenever its last client disconnects, and a
  # program that connects during the reset (the next test, started just as the
  # last one ended) is refused; under load that happened to one run in ten.
  Xvfb ":$n" -noreset -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  KW_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 1 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Could not start Xvfb on $DISPLAY" >&2
  return 1
}

kw_stop_display() {
  if [ -n "${KW_XVFB_PID:-}" ]; then
    kill "$KW_XVFB_PID" 2>/dev/null || true
    wait "$KW_XVFB_PID" 2>/dev/null || true
  fi
}
