#!/usr/bin/env bash
# The remembered window on a virtual X display: a window.conf that says "window" at a place
# starts the game framed there and is written back as it was after X; --fullscreen fills the
# screen this once and leaves the file alone; without a file the game fills the screen and
# remembers that.
set -euo pipefail
program=$1
source "$(dirname "$0")/e2e_lib.sh"
cp "$program" "$work/game"
mkdir -p "$work/config/fruvana"
printf 'mode=window\nx=60\ny=50\n' > "$work/config/fruvana/window.conf"

cat > "$work/inside.sh" <<INSIDE
set -uo pipefail
cd "$work"
export XDG_CONFIG_HOME="$work/config"
geometry() {
  local id
  for _ in \$(seq 1 50); do
    id=\$(xdotool search --onlyvisible --name '^Fruvana\$' 2>/dev/null | head -1)
    [ -n "\$id" ] && break
    sleep 0.2
  done
  [ -n "\$id" ] && xdotool getwindowgeometry "\$id" | tr -s ' \n' ' '
}
./game "\$@" > "$work/out.txt" 2>&1 &
pid=\$!
sleep 5
geometry > "$work/shown.txt"
xdotool key x
for _ in \$(seq 1 25); do kill -0 \$pid 2>/dev/null || break; sleep 0.2; done
kill -0 \$pid 2>/dev/null && { echo "FAIL: X did not end the game" >> "$work/steps.txt"; kill -TERM \$pid; }
wait \$pid
INSIDE
conf() { tr '\n' ' ' < "$work/config/fruvana/window.conf" 2>/dev/null; }
run() {
  rm -f "$work/steps.txt"
  x_server 1024x768x24 || fail "no X server: $(cat "$work/xvfb.txt")"
  bash "$work/inside.sh" "$@"
  [ -f "$work/steps.txt" ] && fail "$(cat "$work/steps.txt")"
  return 0
}
run
grep -q 'Position: 60,50 .*Geometry: 800x600' "$work/shown.txt" ||
  fail "not framed at the file's place: $(cat "$work/shown.txt")"
[ "$(conf)" = "mode=window x=60 y=50 " ] || fail "the file after a framed game: $(conf)"
echo "window memory: framed at the file's place ($(cat "$work/shown.txt"))"
run --fullscreen
grep -q 'Geometry: 1024x768' "$work/shown.txt" || fail "--fullscreen: $(cat "$work/shown.txt")"
[ "$(conf)" = "mode=window x=60 y=50 " ] || fail "--fullscreen was remembered: $(conf)"
echo "window memory: --fullscreen filled the screen this once"
rm "$work/config/fruvana/window.conf"
run
grep -q 'Geometry: 1024x768' "$work/shown.txt" || fail "without a file: $(cat "$work/shown.txt")"
[ "$(conf)" = "mode=fullscreen " ] || fail "the file after a full-screen game: $(conf)"
echo "window memory: full screen without a file, and remembered"
echo "end to end: passed"
