#!/usr/bin/env bash
# The game on a native Wayland compositor: Weston with its X11 back end inside Xvfb (its
# headless back end has no seat, which SDL cannot live with), the game on SDL's Wayland
# driver, a screenshot taken by Weston showing the revealed cabinet, and a close request that
# ends the game with exit 0.
set -euo pipefail
program=$1
check=$2
command -v weston >/dev/null || { echo "weston is not installed"; exit 77; }
source "$(dirname "$0")/e2e_lib.sh"
cp "$program" "$work/fruvana"

cat > "$work/inside.sh" <<INSIDE
set -uo pipefail
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "\$XDG_RUNTIME_DIR"
cd "$work"
weston --backend=x11-backend.so --width=1024 --height=768 --socket=wayland-fruvana \
  --debug > weston.txt 2>&1 &
weston=\$!
for _ in \$(seq 1 100); do [ -S "\$XDG_RUNTIME_DIR/wayland-fruvana" ] && break; sleep 0.1; done
export WAYLAND_DISPLAY=wayland-fruvana
SDL_VIDEODRIVER=wayland ./fruvana > game.txt 2>&1 &
game=\$!
seen=no
for _ in \$(seq 1 60); do
  sleep 0.5
  kill -0 \$game 2>/dev/null || break
  rm -f wayland-screenshot-*.png
  weston-screenshooter >/dev/null 2>&1 || continue
  convert wayland-screenshot-*.png bmp3:shot.bmp 2>/dev/null || continue
  "$check" shot.bmp 1024 768 > shot.txt
  grep -Eq '^reels [0-9]+ [0-9]+ [0-9]+ credit 1000 ' shot.txt && { seen=yes; break; }
done
echo \$seen > seen.txt
kill -TERM \$game 2>/dev/null
status=0
wait \$game || status=\$?
echo "exit \$status" > status.txt
kill \$weston 2>/dev/null
wait \$weston 2>/dev/null
INSIDE
x_server 1024x768x24 || fail "no X server: $(cat "$work/xvfb.txt")"
bash "$work/inside.sh"
cp "$work/game.txt" "$work/out.txt"
[ "$(cat "$work/seen.txt")" = yes ] ||
  fail "the cabinet never showed on Wayland: $(cat "$work/shot.txt" 2>/dev/null)"
[ "$(cat "$work/status.txt")" = "exit 0" ] || fail "$(cat "$work/status.txt")"
echo "wayland: $(cat "$work/shot.txt"), clean exit"
