#!/usr/bin/env bash
# Processor time of the whole Veltrano process, idle and presenting, beside a bare Qt program
# that only shows a window and runs a 16 ms timer, all three in the same run on a private X
# server with openbox. Prints each program's own CPU time (all its threads) over the period
# as a percentage of one core, and Veltrano's figures as multiples of the bare program's.
# A fourth program, the bare one appending a line to a file at every tick, shows what the
# trace of the main window's timer costs by itself. The bare program runs twice: the floor is
# the mean of both, and how far the two drift apart in the same run is the noise of every
# figure.
#   bench/cpu_usage.sh BIN_DIR [SECONDS]
# BIN_DIR holds veltrano, libtrapwell.so and bench_bare_qt_timer (build/bin).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [[ ${1:-} != --inside ]]; then
    exec "$here/../veltrano/tests/x11/run-with-wm.sh" "$0" --inside "$@"
fi
shift
bin=$(cd "$1" && pwd)
seconds=${2:-60}

work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

# A portable copy of Veltrano per instance, each with its own settings and data folders, so
# neither the build tree nor the user's files see anything.
start_veltrano() {
    local dir=$work/$1
    mkdir -p "$dir/data" "$dir/config" "$dir/share" "$dir/state"
    cp "$bin/veltrano" "$bin/libtrapwell.so" "$dir/"
    printf 'entry %s - meaning\n' $(seq 1 50) >"$dir/data/25.txt"
    XDG_CONFIG_HOME=$dir/config XDG_DATA_HOME=$dir/share XDG_STATE_HOME=$dir/state \
        "$dir/veltrano" >/dev/null 2>&1 &
    pids+=($!)
}

# Nanoseconds on the processor of all threads of a process.
cpu_ns() {
    local total=0 t
    for t in /proc/"$1"/task/*/schedstat; do
        read -r run _ <"$t" || continue
        total=$((total + run))
    done
    echo "$total"
}

start_veltrano presenting
presenting=${pids[-1]}
# A search may fail when a window vanishes while it looks (the strip is made anew when it
# first goes on top): look again.
find_window() {
    local id
    for _ in $(seq 100); do
        id=$(xdotool search "$@" 2>/dev/null | head -1) && [[ -n $id ]] && { echo "$id"; return; }
        sleep 0.1
    done
}
main=$(find_window --pid "$presenting" --name '^Veltrano Rudoz Arirera')
[[ -n $main ]] || fail "no main window"
# Start (module 25, "New Words", is chosen on a first start); the first entry shows at once.
# Started once the click reached the Start handler (it is traced) and the strip exists.
# Veltrano writes its trace once a second: a click is given that long and more to show there
# before it is tried again.
clicked() { grep -q 'Form1.Image2_Click' "$work/presenting/Trace.log" 2>/dev/null; }
started() {
    clicked && xdotool search --pid "$presenting" --name '^Veltrano$' >/dev/null 2>&1
}
for _ in 1 2 3 4 5; do
    clicked && break
    xdotool windowactivate --sync "$main" 2>/dev/null || true
    sleep 0.5
    xdotool mousemove --window "$main" 32 32 click 1
    for _ in $(seq 25); do
        clicked && break
        sleep 0.1
    done
done
for _ in $(seq 100); do
    started && break
    sleep 0.1
done
started || fail "presentation did not start"

# The others start after the click, so that no window covers the Start button.
start_veltrano idle
idle=${pids[-1]}
"$bin/bench_bare_qt_timer" &
bare=$!
pids+=("$bare")
"$bin/bench_bare_qt_timer" &
twin=$!
pids+=("$twin")
"$bin/bench_bare_qt_timer" "$work/Trace.log" &
traced=$!
pids+=("$traced")
[[ -n $(find_window --pid "$idle" --name '^Veltrano Rudoz Arirera') ]] || fail "no second window"
[[ -n $(find_window --pid "$traced" --name '^bare Qt timer$') ]] || fail "no bare window"

# Let start-up settle before measuring.
sleep 3
declare -A before
for p in "$bare" "$twin" "$traced" "$idle" "$presenting"; do before[$p]=$(cpu_ns "$p"); done
start=$(date +%s%N)
sleep "$seconds"
elapsed=$(($(date +%s%N) - start))
for p in "$bare" "$twin" "$traced" "$idle" "$presenting"; do
    kill -0 "$p" 2>/dev/null || fail "process $p ended during the measurement"
done

percent() { echo "scale=4; 100 * ($(cpu_ns "$1") - ${before[$1]}) / $elapsed" | bc; }
b1=$(percent "$bare")
b2=$(percent "$twin")
t=$(percent "$traced")
i=$(percent "$idle")
s=$(percent "$presenting")
# The floor is the mean of the two bare copies.
b=$(echo "scale=4; ($b1 + $b2) / 2" | bc)
times() { echo "scale=4; $1 / $b" | bc; }
printf 'machine: %s, %s cores, %s\n' "$(uname -r)" "$(nproc)" \
    "$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
printf 'over %s s              %% of a core   x bare\n' "$seconds"
printf 'bare Qt 16 ms timer, 1  %10.3f   %6.2f\n' "$b1" "$(times "$b1")"
printf 'bare Qt 16 ms timer, 2  %10.3f   %6.2f\n' "$b2" "$(times "$b2")"
printf 'bare + trace append     %10.3f   %6.2f\n' "$t" "$(times "$t")"
printf 'Veltrano idle           %10.3f   %6.2f\n' "$i" "$(times "$i")"
printf 'Veltrano presenting     %10.3f   %6.2f\n' "$s" "$(times "$s")"
