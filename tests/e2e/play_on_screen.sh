#!/usr/bin/env bash
# The real game on a virtual X display, played as a player would: the reveal, a deal by a click
# on the lever knob, a second deal by Enter, collect, a coin and a bet by keys, the settings
# screen with a switch and OK, and X; then the three data files' bytes. What the screen shows
# is read by screen_check, which compares it with the game's own drawing of reels and meters.
set -euo pipefail
program=$1
export check=$2
source "$(dirname "$0")/e2e_lib.sh"
# The game keeps its files beside the program: a copy of its own in a fresh folder, under
# another name, since docks know the window by its class, not by the program file's name.
cp "$program" "$work/game"
help=$(dirname "$program")/help.htm
[ -f "$help" ] && cp "$help" "$work/"

play() {
  local width=$1 height=$2 full=$3
  rm -f "$work"/*.ini "$work"/stat.dat "$work"/status.txt "$work"/steps.txt
  cat > "$work/inside.sh" <<INSIDE
set -uo pipefail
cd "$work"
# Does what follows NAME and PATTERN until the screen matches PATTERN, giving each try four
# seconds: the game drops input while it finishes a step (the verdict after the reels stop,
# a button's press), so a player on a slow machine presses again, and so does this test.
act_until() {
  local name=\$1 pattern=\$2; shift 2
  [ -f "$work/steps.txt" ] && return 1  # an earlier step failed: the rest would only wait
  for _ in 1 2 3 4 5; do
    "\$@"
    wait_for "\$name" "\$pattern" 20 && return 0
  done
  echo "FAIL: \$name: \$(cat "$work/\$name.txt")" >> "$work/steps.txt"
  return 1
}
still='^reels [0-9]+ [0-9]+ [0-9]+ '
./game > "$work/out.txt" 2>&1 &
pid=\$!
wait_for revealed "\$still" || echo "FAIL: no still reels after the reveal" >> "$work/steps.txt"
ox=\$(( ($width - 800) / 2 )); oy=\$(( ($height - 600) / 2 ))
click() { xdotool mousemove \$(( ox + \$1 )) \$(( oy + \$2 )) click 1; }
if [ "$full" = yes ]; then
  pull() { start=\$(date +%s%N); click \$(( 737 + 26 )) \$(( 391 + 26 )); }
  act_until pulled "credit 995 " pull
  wait_for first_a "\$still.*credit 995 "
  echo \$(( (\$(date +%s%N) - start) / 1000000 )) > "$work/spin_ms.txt"
  sleep 0.3; shot first_b
  # A first deal that holds all three reels would start a new game on the next pull: the
  # third reel's hold is let go, so the pull is the second deal.
  if grep -q 'lamps red red red' "$work/first_b.txt"; then
    act_until unheld 'lamps red red blank' xdotool key 3
  fi
  # The second deal: the reels must be seen turning before they are seen still again, so a
  # slow machine cannot pass the still reels of the first deal off as the second's.
  act_until turning '^reels [^c]*[?]' xdotool key Return
  wait_for second "\$still"
  act_until collected "credit 0 win 0 " xdotool key o
  act_until coin "credit 1000 " xdotool key c
  act_until coin_and_bet "credit 1000 .*bet 6 " xdotool key period
  # The settings screen covers the reels; its first switch is clicked, then OK.
  act_until settings '^reels [?] [?] [?] ' xdotool key s
  click \$(( 84 + 10 )) \$(( 150 + 10 )); sleep 0.3
  act_until back "\$still" click \$(( 368 + 26 )) \$(( 508 + 26 ))
  for _ in 1 2 3 4 5; do
    xdotool key x
    for _ in \$(seq 1 20); do kill -0 \$pid 2>/dev/null || break 2; sleep 0.2; done
  done
  if kill -0 \$pid 2>/dev/null; then
    echo "FAIL: X did not end the game" >> "$work/steps.txt"
    kill -TERM \$pid
  fi
else
  xprop -id "\$(xdotool search --name '^Fruvana\$' | head -1)" WM_CLASS > "$work/class.txt"
  kill -TERM \$pid
fi
status=0
wait \$pid || status=\$?
echo "exit \$status" > "$work/status.txt"
INSIDE
  x_server "${width}x${height}x24" || fail "no X server: $(cat "$work/xvfb.txt")"
  bash "$work/inside.sh"
  [ -f "$work/steps.txt" ] && fail "$(cat "$work/steps.txt")"
  [ "$(cat "$work/status.txt")" = "exit 0" ] || fail "${width}x${height}: $(cat "$work/status.txt")"
  local seen
  seen=$(cat "$work/revealed.txt")
  [[ "$seen" =~ ^reels\ [0-9]+\ [0-9]+\ [0-9]+\ credit\ 1000\ win\ 0\ bet\ 5\ m1\ 2500\ lamps\ blank\ blank\ blank$ ]] ||
    fail "${width}x${height} after the reveal: $seen"
  echo "${width}x${height}: revealed: $seen"
}

field() { awk -v k="$2" '{ for (i = 1; i < NF; i++) if ($i == k) print $(i + 1) }' "$work/$1.txt"; }
reels() { awk '{ print $2, $3, $4 }' "$work/$1.txt"; }

play 1024 768 yes
a=$(reels first_a); b=$(reels first_b)
[[ "$a" =~ ^[0-9]+\ [0-9]+\ [0-9]+$ ]] || fail "reels not still 3 s after the pull: $a"
[ "$a" = "$b" ] || fail "reels still moving: $a then $b"
[ "$(field first_a credit)" = 995 ] || fail "credit after the pull: $(cat "$work/first_a.txt")"
[ "$(field collected credit)" = 0 ] && [ "$(field collected win)" = 0 ] ||
  fail "after collect: $(cat "$work/collected.txt")"
[ "$(field coin_and_bet credit)" = 1000 ] && [ "$(field coin_and_bet bet)" = 6 ] &&
  [ "$(field coin_and_bet m1)" = 3000 ] || fail "after coin and bet: $(cat "$work/coin_and_bet.txt")"
echo "1024x768: played: $(cat "$work/first_a.txt") (still reels seen $(cat "$work/spin_ms.txt") ms after the click)"

credit=$(int32s "$work/fruvana.ini")
[[ "$credit" =~ ^6\ 0\ 1000\ -?[0-9]+$ ]] || fail "credit file: $credit"
[ "$(od -An -v -t u1 "$work/fruvana2.ini" | tr -s ' ' | sed 's/^ //')" = "1 1 0 1 1" ] ||
  fail "options file: $(od -An -t u1 "$work/fruvana2.ini")"
stats=($(int32s "$work/stat.dat"))
[ "${#stats[@]}" = 24 ] && [ "${stats[11]}" = 1 ] && [ "${stats[23]}" = 1 ] ||
  fail "statistics file: ${stats[*]}"
echo "1024x768: files: credit $credit, options 1 1 0 1 1, one first and one second deal counted"

play 1280 1024 no
grep -q '"fruvana", "fruvana"' "$work/class.txt" || fail "window class: $(cat "$work/class.txt")"
echo "1280x1024: window class fruvana"
echo "end to end: passed"
