#!/usr/bin/env bash
# Runs the whole test suite again and again while stress-ng keeps every core busy, to show the
# tests wait for what they need rather than for a time that a loaded machine may overrun.
#   scripts/stress-tests.sh [RUNS] [BUILD_DIR]    (defaults: 20, build; ./test builds it first)
# Prints one line per run and a summary; exits non-zero when any run failed. The output of each
# failed run is kept in stress-failures/ of the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-20}
build=${2:-build}
[[ -f $build/CTestTestfile.cmake ]] || { echo "no tests in $build: run ./test first" >&2; exit 2; }
command -v stress-ng >/dev/null || { echo "needs stress-ng (scripts/setup-deps.sh --test)" >&2; exit 2; }

tmp=$(mktemp -d "${TMPDIR:-/tmp}/veltrano-stress.XXXXXX")
stress-ng --cpu "$(nproc)" --quiet &
load=$!
trap 'kill "$load" 2>/dev/null || true; rm -rf "$tmp"' EXIT

failed=0
for ((run = 1; run <= runs; run++)); do
    home=$tmp/run-$run
    mkdir -p -m 0700 "$home/config" "$home/data" "$home/state" "$home/cache" "$home/runtime"
    start=$SECONDS
    if XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_STATE_HOME=$home/state \
        XDG_CACHE_HOME=$home/cache XDG_RUNTIME_DIR=$home/runtime QT_QPA_PLATFORM=offscreen \
        ctest --test-dir "$build" -j4 --timeout 600 --no-tests=error --output-on-failure \
        >"$home/ctest.log" 2>&1; then
        echo "run $run: passed ($((SECONDS - start)) s)"
    else
        failed=$((failed + 1))
        echo "run $run: FAILED ($((SECONDS - start)) s):"
        grep -E '^\s+[0-9]+ - ' "$home/ctest.log" || tail -20 "$home/ctest.log"
        mkdir -p "$build/stress-failures"
        cp "$home/ctest.log" "$build/stress-failures/run-$run.log"
    fi
done
echo "$((runs - failed)) of $runs runs passed under load"
((failed == 0))
