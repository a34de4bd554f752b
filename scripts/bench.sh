#!/usr/bin/env bash
# Builds the bench preset (Release, tuned for this CPU, no tests) and runs the
# benchmarks, printing one table: CPU nanoseconds per iteration (and per point
# or primitive for the scaling benchmarks), heap allocations and frees per
# iteration, and the curve-test frame of the framework against the same frame
# written by hand. Arguments go to the benchmark program (e.g. --benchmark_filter=Frame).
# Then the web build's frame cost: one Skidwell frame (its steps, update and
# drawing into a no-op OpenGL) as WebAssembly under node against the native one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/install-deps.sh
cmake --preset bench >/dev/null
cmake --build --preset bench -j2 --target kw_bench >/dev/null
"$root/build/bench/bench/kw_bench" "$@"

cmake --build --preset bench -j2 --target kw_frame_cost >/dev/null
cmake --preset web >/dev/null
cmake --build --preset web -j2 --target kw_frame_cost >/dev/null
native=$("$root/build/bench/bench/kw_frame_cost" | sed -n 's/^ns per frame: //p')
wasm=$(node --no-experimental-fetch "$root/build/web/bench/kw_frame_cost.js" | sed -n 's/^ns per frame: //p')
echo
echo "Skidwell frame (best of 7 runs of 3,000 frames, ns per frame)"
printf '%-28s %10s\n' native "$native" "WebAssembly under node" "$wasm"
awk -v native="$native" -v wasm="$wasm" 'BEGIN { printf "%-28s %10.2f\n", "WebAssembly / native", wasm / native }'
