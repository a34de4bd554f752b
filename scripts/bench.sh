#!/usr/bin/env bash
# Builds the bench preset (Release, tuned for this CPU, no tests) and runs the
# benchmarks, printing one table: CPU nanoseconds per iteration (and per point
# or primitive for the scaling benchmarks), heap allocations and frees per
# iteration, and the curve-test frame of the framework against the same frame
# written by hand. Arguments go to the benchmark program (e.g. --benchmark_filter=Frame).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/install-deps.sh
cmake --preset bench >/dev/null
cmake --build --preset bench -j2 --target kw_bench >/dev/null
exec "$root/build/bench/bench/kw_bench" "$@"
