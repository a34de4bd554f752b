#!/usr/bin/env bash
# Sets up and runs Skidwell: installs what is missing, builds the Linux program
# and starts it on the user's display. With no display it runs the program on a
# private Xvfb for a few seconds, saves a screenshot of its window, says where and
# ends it.
# --web: builds the web preset and serves its pages on localhost (port 8000, or
# KW_WEB_PORT) until Ctrl-C. With no display it instead takes a screenshot of
# Skidwell's page in headless Chromium, says where, and ends.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/display.sh

bash scripts/install-deps.sh

if [ "${1:-}" = "--web" ]; then
  cmake --preset web >/dev/null
  cmake --build --preset web -j2 --target kw_pages >/dev/null
  pages="$root/build/web/pages"
  port=${KW_WEB_PORT:-8000}
  python3 -m http.server "$port" --bind 127.0.0.1 --directory "$pages" >"$root/build/web/server.log" 2>&1 &
  server=$!
  trap 'kill "$server" 2>/dev/null || true' EXIT
  address="http://127.0.0.1:$port/"
  for _ in $(seq 1 50); do
    python3 -c "import urllib.request; urllib.request.urlopen('$address')" 2>/dev/null && break
    kill -0 "$server" 2>/dev/null || { echo "Could not serve on port $port (see build/web/server.log); set KW_WEB_PORT." >&2; exit 1; }
    sleep 0.1
  done
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    echo "Serving the web build's pages at $address (Skidwell: ${address}skidwell.html); Ctrl-C ends it."
    wait "$server"
    exit 0
  fi
  shot="$root/build/skidwell-web-screenshot.png"
  node scripts/web-screenshot.mjs "${address}skidwell.html" "$shot"
  echo "The web build's pages were served at $address (Skidwell: ${address}skidwell.html)."
  echo "There is no display here, so headless Chromium opened Skidwell's page for a few seconds."
  echo "Screenshot of its window: $shot"
  exit 0
fi
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
