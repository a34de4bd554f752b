#!/usr/bin/env bash
# Sets up and runs Skidwell: installs what is missing, builds the Linux program
# and starts it on the user's display. With no display it runs the program on a
# private Xvfb for a few seconds, saves a screenshot of its window, says where and
# ends it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/display.sh

bash scripts/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -j2 --target skidwell >/dev/null
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
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
echo "There is no display here, so Skidwell ran on a private Xvfb for a few seconds."
echo "Screenshot of its window: $shot"
