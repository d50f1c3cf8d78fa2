#!/usr/bin/env bash
# Inside run-with-wm.sh: starts the installed veltrano from PATH as user UID:GID with the private
# folders in WORK (settings choose module 7), clicks Start, waits for the strip (the window titled Veltrano), checks
# that the logs went to the user's data folder and not into the program folder, and closes it.
#   test-deb-x11.sh WORK UID GID PROGRAM_DIR
set -euo pipefail
work=$1 uid=$2 gid=$3 program_dir=$4

prog=
trap '[[ -n $prog ]] && kill "$prog" 2>/dev/null || true' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

run_as=()
if ((uid != EUID)); then
    run_as=(setpriv --reuid="$uid" --regid="$gid" --clear-groups)
    # The X server's cookie, readable by that user.
    cp "$XAUTHORITY" "$work/Xauthority" && chown "$uid:$gid" "$work/Xauthority"
    export XAUTHORITY=$work/Xauthority
fi

"${run_as[@]}" env HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/share" \
    XDG_CACHE_HOME="$work/cache" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb \
    veltrano &
prog=$!
main=$(timeout 30 xdotool search --sync --name '^Veltrano Rudoz Arirera' | head -1) || true
[[ -n $main ]] || fail "no main window"
xdotool windowactivate --sync "$main"
sleep 0.5
xdotool mousemove --window "$main" 32 32 click 1 # Start

strip=
for _ in $(seq 200); do
    strip=$(xdotool search --onlyvisible --name '^Veltrano$' 2>/dev/null | head -1 || true)
    [[ -n $strip ]] && break
    sleep 0.1
done
[[ -n $strip ]] || fail "the strip (Veltrano) did not appear after Start"

[[ -f $work/share/veltrano/Trace.log || -f $work/share/trapwell/Trace.log ]] ||
    fail "no Trace.log in \$XDG_DATA_HOME/veltrano or \$XDG_DATA_HOME/trapwell"
logs=$(find "$program_dir" -name '*.log')
[[ -z $logs ]] || fail "logs written into the program folder: $logs"

# Close the main window with the window manager's Alt+F4. In about one run of thirty the first
# press has no effect (the program never sees a close; a second one always works), so one
# more press is allowed.
ended() {
    for _ in $(seq 30); do
        kill -0 "$prog" 2>/dev/null || return 0
        sleep 0.1
    done
    return 1
}
xdotool windowactivate --sync "$main" key alt+F4
ended || { xdotool windowactivate --sync "$main" key alt+F4; ended; } ||
    fail "closing the main window did not end the program"
prog=
echo "installed program: ok"
