#!/usr/bin/env bash
# Line and branch coverage of the framework, the demo and the examples by the
# native test suite: builds the coverage preset (Debug, gcov instrumentation),
# runs every test of that build (on a private Xvfb when there is no display)
# and prints, per file of kelp_wright/, demo/ and examples/, the lines and
# branches executed. The line table's "Missing" column lists the lines never
# executed.
#   ./scripts/coverage.sh              the two tables
#   ./scripts/coverage.sh --uncovered  also every line never executed, as file:line
# KW_COVERAGE_BUILD sets the build directory (default build/coverage).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/display.sh

uncovered=0
for arg in "$@"; do
  case "$arg" in
    --uncovered) uncovered=1 ;;
    *) echo "usage: $0 [--uncovered]" >&2; exit 2 ;;
  esac
done

bash scripts/install-deps.sh || { echo "Installing the packages failed"; exit 1; }

build="${KW_COVERAGE_BUILD:-build/coverage}"
echo "=== coverage: configure and build ($build)"
mkdir -p build
log="$build-build.log"
if ! { cmake --preset coverage -B "$build" && cmake --build "$build" -j2; } >"$log" 2>&1; then
  tail -40 "$log"
  echo "coverage: build failed (see $log)"
  exit 1
fi

# Counts from this run only.
find "$build" -name '*.gcda' -delete

echo "=== coverage: test"
kw_ensure_display || exit 1
trap kw_stop_display EXIT
ctest --test-dir "$build" -j2 --output-on-failure >"$build-test.log" 2>&1
test_status=$?
grep -E 'tests passed|\*\*\*|Errors while running' "$build-test.log" || true

# Every file under the three folders that the build compiled or included;
# branches the compiler adds for exceptions being thrown are left out.
# (CMake's compiler probes are instrumented too; they are not the project.)
report=(gcovr "$build" --root "$root" -j2 --exclude-throw-branches
  --exclude-directories '.*/CMakeFiles/[0-9.]+/CompilerId.*'
  --filter 'kelp_wright/' --filter 'demo/' --filter 'examples/')

echo
echo "=== coverage: lines (kelp_wright/, demo/, examples/)"
"${report[@]}" --txt
echo
echo "=== coverage: branches (kelp_wright/, demo/, examples/)"
"${report[@]}" --branches --txt

# Sources of these folders that have no line in the tables: the other
# platform's backend, never compiled here, and files without executable code.
echo
echo "=== coverage: sources without a line in the tables"
git ls-files 'kelp_wright/*.cpp' 'demo/*.cpp' 'examples/*.cpp' >"$build/sources.txt"
"${report[@]}" --json | python3 -c '
import json, os, sys
root, build = sys.argv[1], sys.argv[2]
reported = {f["file"] for f in json.load(sys.stdin)["files"]}
compiled = {os.path.relpath(e["file"], root) for e in json.load(open(os.path.join(build, "compile_commands.json")))}
for source in open(os.path.join(build, "sources.txt")).read().split():
    if source not in reported:
        print(source, "(compiled, no executable line)" if source in compiled else "(not compiled in this build)")
' "$root" "$build"

if [ "$uncovered" -eq 1 ]; then
  echo
  echo "=== coverage: lines never executed"
  "${report[@]}" --json | python3 -c '
import json, sys
for f in sorted(json.load(sys.stdin)["files"], key=lambda f: f["file"]):
    lines = sorted(l["line_number"] for l in f["lines"] if l["count"] == 0 and not l.get("gcovr/noncode", False))
    ranges = []
    for n in lines:
        if ranges and n == ranges[-1][1] + 1:
            ranges[-1][1] = n
        else:
            ranges.append([n, n])
    for first, last in ranges:
        print("%s:%d" % (f["file"], first) if first == last else "%s:%d-%d" % (f["file"], first, last))
'
fi

[ "$test_status" -eq 0 ] || echo "coverage: some tests failed (see $build-test.log)"
exit "$test_status"
