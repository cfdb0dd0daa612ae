#!/usr/bin/env bash
# Makes docs/board.png: the sample board with markers of both colours and the green picker
# open, on a private Xvfb. Set QT_SCALE_FACTOR=2 and OUT=... for a HiDPI picture.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${OUT:-$root/docs/board.png}
work=$(mktemp -d /tmp/zeltomil-shot.XXXXXX)
cp "$root"/sample/*.dat "$work"/
display=":$(( 150 + RANDOM % 50 ))"
Xvfb "$display" -screen 0 1280x800x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $program $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
(cd "$work" && exec "$root/build/zeltomil") >/dev/null 2>&1 &
program=$!
window=$(xdotool search --sync --onlyvisible --pid "$program" | head -n 1)
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$window")"
scale=${QT_SCALE_FACTOR:-1}
# The green duty button: board twips 500..1000 across, just under the last tag row.
board_top=$(( Y + HEIGHT - (6 * 360 + 60 + 1100 - 690) * scale / 15 ))
xdotool mousemove $(( X + 50 * scale )) $(( board_top + (6 * 360 + 60 + 25 + 175) * scale / 15 )) click 1
sleep 0.7
import -window root -crop "$(( WIDTH + 20 ))x$(( HEIGHT + 160 * scale ))+0+0" "$out"
echo "wrote $out"
