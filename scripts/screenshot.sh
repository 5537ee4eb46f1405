#!/usr/bin/env bash
# Makes the README's picture of the cabinet in play from the real program on a virtual
# 1024 x 768 display: the reveal, one deal by Enter, then a screenshot into docs/cabinet.png.
# Usage: scripts/screenshot.sh [PROGRAM]   (default: the build of scripts/run.sh)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build/release/shell/fruvana}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$program" "$work/fruvana"
cat > "$work/inside.sh" <<INSIDE
cd "$work"
./fruvana > game.txt 2>&1 &
pid=\$!
sleep 4.5
xdotool key Return
sleep 3.5
xwd -root -silent | convert xwd:- -strip png:"$root/docs/cabinet.png"
xdotool key x
wait \$pid
INSIDE
xvfb-run -a -s "-screen 0 1024x768x24" bash "$work/inside.sh"
echo "docs/cabinet.png written"
