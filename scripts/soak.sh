#!/usr/bin/env bash
# Memory soak: runs Skidwell's curve test state for FRAMES frames (one million
# by default) in a real window, on the user's display or on a private Xvfb it
# starts, and reports the heap in use and the resident memory after warm-up and
# at the end. Exits non-zero when the heap in use grew after warm-up.
set -euo pipefail
frames=${1:-1000000}
if ! [[ "$frames" =~ ^[0-9]+$ ]] || [ "$frames" -lt 2 ]; then
  echo "usage: $0 [FRAMES]   (a whole number, at least 2; default 1000000)" >&2
  exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/display.sh

bash scripts/install-deps.sh
cmake --preset bench >/dev/null
cmake --build --preset bench -j2 --target kw_soak >/dev/null

kw_ensure_display
trap kw_stop_display EXIT
echo "Soak: $frames frames of the curve test state in a window on $DISPLAY"
started=$(date +%s)
status=0
"$root/build/bench/bench/kw_soak" "$frames" || status=$?
echo "Took $(( $(date +%s) - started )) s."
exit "$status"
