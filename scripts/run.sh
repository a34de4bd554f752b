#!/usr/bin/env bash
# Sets up and runs Skidwell: installs what is missing, builds the Linux program
# and starts it on the user's display. With no display it runs the program on a
# private Xvfb for a few seconds, saves a screenshot of its window and says where.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/display.sh

bash scripts/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -j2 --target skidwell kw_close_window >/dev/null
program="$root/build/linux/demo/skidwell"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "Starting Skidwell on $DISPLAY; close its window to end it."
  exec "$program"
fi

kw_ensure_display
trap kw_stop_display EXIT
"$program" &
pid=$!
window=""
for _ in $(seq 1 50); do
  window=$(xdotool search --name '^Skidwell: Curve Test$' 2>/dev/null | head -1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
if [ -z "$window" ]; then
  kill "$pid" 2>/dev/null || true
  echo "Skidwell's window did not appear." >&2
  exit 1
fi
sleep 3
shot="$root/build/skidwell-screenshot.png"
import -window "$window" "$shot"
# Closed the way a window manager closes it.
"$root/build/linux/tests/e2e/kw_close_window" "Skidwell: Curve Test"
status=0
wait "$pid" || status=$?
echo "There is no display here, so Skidwell ran on a private Xvfb for a few seconds (exit code $status)."
echo "Screenshot of its window: $shot"
