#!/usr/bin/env bash
# Takes the README's screenshots: the main window, and the strip over another program.
#   scripts/screenshots.sh [BUILD_BIN_DIR]   (run inside veltrano/tests/x11/run-with-wm.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
command -v import >/dev/null || { echo "screenshots: needs ImageMagick's import (apt-get install imagemagick)" >&2; exit 1; }
bin=${1:-build/bin}
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

cp "$bin/veltrano" "$bin/libtrapwell.so" "$work/"
cp -r "$bin/data" "$work/data"
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/share
mkdir -p "$XDG_CONFIG_HOME"
printf '[Check%%20Box%%20Selection]\n' >"$XDG_CONFIG_HOME/Veltrano Rudoz Arirera.ini"
for n in $(seq 4 25); do
    printf 'Check%%20Box%%20%d=%d\n' "$n" $((n == 7)) >>"$XDG_CONFIG_HOME/Veltrano Rudoz Arirera.ini"
done

"$work/veltrano" &
main=$(xdotool search --sync --name '^Veltrano Rudoz Arirera' | head -1)
xdotool windowmove "$main" 40 40
sleep 1
import -window root -crop 470x285+35+14 docs/main-window.png

# Another program the user works in, then Start; catch the strip on screen.
LC_ALL=C tr -cd "\n -~" <README.md | fold -s -w 90 | sed -n "8,40p" >"$work/text.txt"
xmessage -geometry 900x520+190+150 -file "$work/text.txt" &
other=$(xdotool search --sync --class Xmessage | head -1)
xdotool mousemove --window "$main" 32 32 click 1
xdotool windowactivate --sync "$other"
for _ in $(seq 500); do
    [[ -n $(xdotool search --onlyvisible --name '^Veltrano$' 2>/dev/null || true) ]] && break
    sleep 0.05
done
sleep 0.02
import -window root -crop 1000x300+140+250 docs/strip-over-another-program.png
echo "written: docs/main-window.png docs/strip-over-another-program.png"
