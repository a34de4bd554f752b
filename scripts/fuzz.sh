#!/usr/bin/env bash
# Fuzzes every target of the fuzz build (libFuzzer with AddressSanitizer and
# UndefinedBehaviorSanitizer) for RUNS runs each, default one million, starting
# from its seed input, and prints per target the runs done and the findings.
# A target stops at its first finding; the input that caused it is kept under
# build/fuzz/findings/<target>/ and the fuzzer's log beside it.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
runs=${1:-1000000}
case "$runs" in '' | *[!0-9]*) echo "usage: scripts/fuzz.sh [RUNS]"; exit 2 ;; esac

bash scripts/install-deps.sh || { echo "Installing the packages failed"; exit 1; }
mkdir -p build
log=build/fuzz-build.log
if ! { cmake --preset fuzz && nice cmake --build --preset fuzz -j2; } >"$log" 2>&1; then
  tail -40 "$log"
  echo "Building the fuzz targets failed (see $log)"
  exit 1
fi

status=0
for target in curves menus machine; do
  findings="build/fuzz/findings/$target"
  rm -rf "$findings"
  mkdir -p "$findings"
  # Standard output is closed: the framework's error reports are expected here.
  nice "build/fuzz/tests/fuzz/kw_fuzz_$target" -runs="$runs" -timeout=25 -close_fd_mask=1 \
    -print_final_stats=1 -artifact_prefix="$findings/" -seed_inputs="tests/fuzz/seeds/$target" \
    >"$findings.log" 2>&1
  done_runs=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+).*/\1/p' "$findings.log" | tail -1)
  found=$(find "$findings" -type f | wc -l)
  if [ "$found" -eq 0 ]; then
    echo "$target: ${done_runs:-?} runs, 0 findings"
  else
    echo "$target: ${done_runs:-?} runs, $found findings in $findings/ (log: $findings.log)"
  fi
  [ "$found" -eq 0 ] && [ -n "$done_runs" ] || status=1
done
exit $status
