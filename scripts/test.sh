#!/usr/bin/env bash
# Sets up and runs every test of every build: installs what is missing,
# configures and builds the six presets (fuzz: the libFuzzer targets, each
# run for a few seconds; web: WebAssembly, its unit tests under node and its
# pages in headless Chromium), starts Xvfb when there is no display, runs each
# build's tests (the Windows ones under Wine) and prints one summary.
# All builds are made before any test runs: the end-to-end tests of the linux
# build also start the Windows builds' programs.
# Three static checks count as failures too: every C and C++ file tracked by git
# must be formatted as .clang-format says, every snippet of docs/guide.md must
# match the code it quotes, and clang-tidy (.clang-tidy) must find nothing in
# any translation unit of the linux build.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/display.sh

bash scripts/install-deps.sh || { echo "Installing the packages failed"; exit 1; }

presets=(linux linux-asan win32 win64 fuzz web)
[ $# -gt 0 ] && presets=("$@")

kw_ensure_display || exit 1
export WINEPREFIX="${KW_WINEPREFIX:-$root/build/wineprefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  kw_stop_display
}
trap cleanup EXIT

summary=()
total_passed=0
total_failed=0
total_skipped=0
built=()

# 32-bit Windows programs need Wine's 32-bit loader, which some machines
# (sandboxes without IA-32 execution) cannot start at all.
can_run() {
  case "$1" in
    win32) /usr/lib/wine/wine --version >/dev/null 2>&1 ;;
    *) return 0 ;;
  esac
}

# Formatting: clang-format 14 with the root .clang-format, every tracked file.
echo "=== format: clang-format --dry-run"
unformatted=0
while IFS= read -r file; do
  if ! clang-format-14 --dry-run -Werror "$file" >/dev/null 2>&1; then
    echo "not formatted: $file"
    unformatted=$((unformatted + 1))
  fi
done < <(git ls-files '*.c' '*.cc' '*.cpp' '*.cxx' '*.h' '*.hh' '*.hpp')
summary+=("format: $unformatted files unformatted")
total_failed=$((total_failed + unformatted))

# The guide's snippets: each must still be the code it quotes.
echo "=== guide: snippets (scripts/check-guide.sh)"
./scripts/check-guide.sh
stale=$?
summary+=("guide: $stale stale snippets")
total_failed=$((total_failed + stale))

mkdir -p build
for preset in "${presets[@]}"; do
  echo "=== $preset: configure and build"
  log="build/$preset-build.log"
  if cmake --preset "$preset" >"$log" 2>&1 && cmake --build --preset "$preset" -j2 >>"$log" 2>&1; then
    built+=("$preset")
  else
    tail -40 "$log"
    summary+=("$preset: build failed (see $log)")
    total_failed=$((total_failed + 1))
  fi
done

# clang-tidy over the linux build's compile commands: the project's own
# translation units (framework, demo, examples, tests) and, through the header
# filter of .clang-tidy, the project's headers. One finding is one failure.
if [[ " ${built[*]} " == *" linux "* ]]; then
  echo "=== clang-tidy: build/linux"
  tidy_log=build/clang-tidy.log
  start=$SECONDS
  run-clang-tidy-14 -p build/linux -j2 -quiet "^$root/(kelp_wright|demo|examples|tests)/" 2>&1 |
    sed 's/\x1b\[[0-9;]*m//g' >"$tidy_log"
  tidy_status=${PIPESTATUS[0]}
  findings=$(grep -E '^[^ ]+:[0-9]+:[0-9]+: (warning|error): ' "$tidy_log" | sort -u)
  count=$(printf '%s' "$findings" | grep -c . || true)
  if [ "$count" -gt 0 ]; then
    printf '%s\n' "$findings"
  elif [ "$tidy_status" -ne 0 ]; then
    tail -40 "$tidy_log"
    count=1
  fi
  echo "clang-tidy took $((SECONDS - start)) s (full output: $tidy_log)"
  summary+=("clang-tidy: $count findings")
  total_failed=$((total_failed + count))
fi

# Wine's prefix and a server that stays up between the test programs.
scripts/wine-run.sh cmd /c exit 0 >/dev/null 2>&1
wineserver -p >/dev/null 2>&1

for preset in "${built[@]}"; do
  if ! can_run "$preset"; then
    summary+=("$preset: built; its tests cannot run here (this machine cannot execute 32-bit x86 programs)")
    continue
  fi
  echo "=== $preset: test"
  out=$(ctest --preset "$preset" -j2 2>&1)
  echo "$out" | grep -E '\*\*\*|tests passed|Errors while running' || true
  line=$(echo "$out" | grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' | tail -1)
  if [ -z "$line" ]; then
    echo "$out" | tail -30
    summary+=("$preset: ctest did not finish")
    total_failed=$((total_failed + 1))
    continue
  fi
  failed=$(echo "$line" | sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/')
  all=$(echo "$line" | sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/')
  skipped=$(echo "$out" | grep -cE '\(Skipped\)$' || true)
  passed=$((all - failed - skipped))
  summary+=("$preset: $passed passed, $failed failed, $skipped skipped")
  total_passed=$((total_passed + passed))
  total_failed=$((total_failed + failed))
  total_skipped=$((total_skipped + skipped))
done

echo
echo "=== Summary"
printf '%s\n' "${summary[@]}"
echo "total: $total_passed passed, $total_failed failed, $total_skipped skipped"
[ "$total_failed" -eq 0 ]
