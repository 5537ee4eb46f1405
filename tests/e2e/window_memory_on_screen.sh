#!/usr/bin/env bash
# The remembered window on a virtual X display: an older window.conf that says "window" at a
# place starts the game framed there, and after X the state file holds that place while
# window.conf is left as it was; --fullscreen fills the screen this once and leaves the place
# alone; a damaged value is named on one line and the player's file is left byte for byte;
# without any file the game fills the screen and remembers that. Then the preferences screen by
# keys: a volume and the lever's key changed, kept in the file with the player's own edited file
# kept beside it, and the new key pulling the lever after a restart.
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
export XDG_STATE_HOME="$work/state"
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
for key in \${KEYS:-}; do
  case \$key in sleep*) sleep \${key#sleep} ;; *) xdotool key \$key; sleep 0.3 ;; esac
done
xdotool key x
for _ in \$(seq 1 25); do kill -0 \$pid 2>/dev/null || break; sleep 0.2; done
kill -0 \$pid 2>/dev/null && { echo "FAIL: X did not end the game" >> "$work/steps.txt"; kill -TERM \$pid; }
wait \$pid
INSIDE
state() { tr '\n' ' ' < "$work/state/fruvana/window.conf" 2>/dev/null; }
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
[ "$(state)" = "mode=window x=60 y=50 " ] || fail "the state after a framed game: $(state)"
[ "$(tr '\n' ' ' < "$work/config/fruvana/window.conf")" = "mode=window x=60 y=50 " ] ||
  fail "window.conf was written"
grep -q '^effects_volume = 100$' "$work/config/fruvana/fruvana.conf" ||
  fail "the first start made no preferences file"
echo "window memory: framed at the older file's place ($(cat "$work/shown.txt"))"
sed -i 's/^effects_volume = .*/effects_volume = 55 # mine/' "$work/config/fruvana/fruvana.conf"
edited=$(cat "$work/config/fruvana/fruvana.conf")
run --fullscreen
grep -q 'Geometry: 1024x768' "$work/shown.txt" || fail "--fullscreen: $(cat "$work/shown.txt")"
[ "$(state)" = "mode=window x=60 y=50 " ] || fail "--fullscreen was remembered: $(state)"
[ "$(grep -c 'sound.effects_volume must be 0 to 100 in steps of 10; its default is used$' "$work/out.txt")" = 1 ] ||
  fail "the damaged volume was not named once: $(cat "$work/out.txt")"
[ "$(cat "$work/config/fruvana/fruvana.conf")" = "$edited" ] ||
  fail "a start with nothing changed rewrote the player's file"
echo "window memory: --fullscreen filled the screen this once; a damaged volume was named once and the file left alone"
rm -r "$work/config/fruvana" "$work/state"
run
grep -q 'Geometry: 1024x768' "$work/shown.txt" || fail "without a file: $(cat "$work/shown.txt")"
[ "$(state)" = "mode=fullscreen " ] || fail "the state after a full-screen game: $(state)"
echo "window memory: full screen without a file, and remembered"
printf '# my own notes\n' >> "$work/config/fruvana/fruvana.conf"
KEYS="p Left Down Down Down Down Down Down Down Down Down Return q Escape" run
grep -q "^effects_volume = 90$" "$work/config/fruvana/fruvana.conf" &&
  grep -q "^pull = \[ 'Q', 'Space' \]$" "$work/config/fruvana/fruvana.conf" ||
  fail "the preferences screen's changes were not kept: $(cat "$work/config/fruvana/fruvana.conf")"
grep -q '^# my own notes$' "$work/config/fruvana/fruvana.conf~" &&
  grep -q 'your own preferences file is kept as .*fruvana.conf~$' "$work/out.txt" ||
  fail "the player's edited file was not kept beside: $(cat "$work/out.txt")"
games=$("$work/game" --recall)
KEYS="q sleep4 q sleep4" run
[ "$("$work/game" --recall)" != "$games" ] || fail "the new key Q did not pull the lever after a restart"
grep -q "^effects_volume = 90$" "$work/config/fruvana/fruvana.conf" || fail "the volume was lost"
echo "preferences: a volume and the lever's key set by keys, kept, and the key pulls after a restart"
echo "end to end: passed"
