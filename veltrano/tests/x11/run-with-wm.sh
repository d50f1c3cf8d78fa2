#!/usr/bin/env bash
# Runs a command on a private X server (Xvfb) with a real window manager (openbox), for the
# tests of what only a window manager decides: focus, stacking, the tray.
#   run-with-wm.sh COMMAND [ARGS...]
set -euo pipefail

if [[ ${1:-} != --inside ]]; then
    exec xvfb-run -a -s "-screen 0 1280x800x24 -nolisten tcp" "$0" --inside "$@"
fi
shift

wm=
trap '[[ -n $wm ]] && kill "$wm" 2>/dev/null || true' EXIT
ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# The window manager is ready once it has announced itself on the root window. On a busy
# machine (a sanitizer build running beside) it may need a while, or a second start.
for attempt in 1 2 3; do
    openbox --sm-disable >"${TMPDIR:-/tmp}/openbox-$$.log" 2>&1 &
    wm=$!
    for _ in $(seq 300); do
        ready && break 2
        kill -0 "$wm" 2>/dev/null || break
        sleep 0.1
    done
    kill "$wm" 2>/dev/null || true
    echo "openbox not ready (attempt $attempt)" >&2
done
ready || { echo "openbox did not start:" >&2; cat "${TMPDIR:-/tmp}/openbox-$$.log" >&2; exit 1; }
rm -f "${TMPDIR:-/tmp}/openbox-$$.log" 

export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
QT_QPA_PLATFORM=xcb "$@"
