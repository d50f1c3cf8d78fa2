#!/usr/bin/env bash
# The built program meets a start it cannot make: its component's settings file is a folder
# or unreadable, or its component is missing. Each must end in the fatal message box titled
# "Veltrano" and exit status 1, never in an abort (exit 134). Runs inside run-with-wm.sh; $1
# is the folder holding veltrano and libtrapwell.so.
set -euo pipefail

bin=$1
work=$(mktemp -d)
prog=
cleanup() {
    [[ -n $prog ]] && kill "$prog" 2>/dev/null || true
    chmod -R u+rwx "$work" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

# start CASE MESSAGE: a portable copy prepared by the caller in $work/CASE; MESSAGE is the
# box's text, which the program also writes to its standard error, its lines joined.
start() {
    local dir=$work/$1 box status
    XDG_CONFIG_HOME=$dir/config XDG_DATA_HOME=$dir/share "$dir/veltrano" 2>"$dir/stderr" &
    prog=$!
    box=$(timeout 60 xdotool search --sync --onlyvisible --name '^Veltrano$' | head -1) ||
        fail "$1: no message box"
    xdotool windowactivate --sync "$box"
    xdotool key Return
    status=0
    wait "$prog" || status=$?
    prog=
    ((status == 1)) || fail "$1: exit status $status"
    [[ $(cat "$dir/stderr") == "veltrano: $2" ]] || fail "$1: $(cat "$dir/stderr")"
    echo "ok: $1"
}

prepare() {
    mkdir -p "$work/$1/config"
    cp "$bin/veltrano" "$work/$1/"
    [[ $2 == without-component ]] || cp "$bin/libtrapwell.so" "$work/$1/"
}

prepare folder with-component
mkdir "$work/folder/config/Halvorn.ini"
start folder "Run-time error '75':  Path/File access error"

prepare missing without-component
start missing "Run-time error '429':  ActiveX component can't create object"

if ((EUID != 0)); then
    prepare unreadable with-component
    printf '[ErrHandler]\nEmailType=1\n' >"$work/unreadable/config/Halvorn.ini"
    chmod 000 "$work/unreadable/config/Halvorn.ini"
    start unreadable "Run-time error '75':  Path/File access error"
else
    echo "skipped: an unreadable settings file (root reads every file)"
fi
