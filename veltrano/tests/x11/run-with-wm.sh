#!/usr/bin/env bash
# Runs a command on a private X server (Xvfb) with a real window manager (openbox), for the
# tests of what only a window manager decides: focus, stacking, the tray.
#   run-with-wm.sh COMMAND [ARGS...]
set -euo pipefail

if [[ ${1:-} != --inside ]]; then
    exec xvfb-run -a -s "-screen 0 1280x800x24 -nolisten tcp" "$0" --inside "$@"
fi
shift

openbox --sm-disable >/dev/null 2>&1 &
wm=$!
trap 'kill "$wm" 2>/dev/null || true' EXIT

# The window manager is ready once it has announced itself on the root window.
for _ in $(seq 100); do
    if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
        break
    fi
    sleep 0.1
done
xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' || { echo "openbox did not start" >&2; exit 1; }

QT_QPA_PLATFORM=xcb "$@"
