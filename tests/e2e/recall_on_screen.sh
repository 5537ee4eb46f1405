#!/usr/bin/env bash
# The game recall on a virtual X display: a dozen deals by Enter with Second deal off, each
# deal's still reels read from the screen, then R: the recall's ten rows must show the newest
# ten deals' first lines as the screen dealt them, newest first. After X, `--recall` prints the
# same ten games.
set -euo pipefail
program=$1
export check=$2
source "$(dirname "$0")/e2e_lib.sh"
cp "$program" "$work/game"
# Second deal off, Sound FX and Voice FX on: every Enter is one whole game.
printf '\000\000\000\001\001' > "$work/fruvana2.ini"

cat > "$work/inside.sh" <<INSIDE
set -uo pipefail
cd "$work"
still='^reels [0-9]+ [0-9]+ [0-9]+ '
./game > "$work/out.txt" 2>&1 &
pid=\$!
expect revealed "\$still"
for deal in \$(seq 1 12); do
  # The reels must be seen turning before they count as the new deal's still reels; the game
  # drops a key while it finishes the last step, so the key comes again until they turn.
  for _ in 1 2 3 4 5; do
    xdotool key Return
    wait_for turning_\$deal '^reels [^c]*[?]' 20 && break
  done
  expect deal_\$deal "\$still" || break
  awk '{ print \$2 "." \$3 "." \$4 }' "$work/deal_\$deal.txt" >> "$work/dealt.txt"
done
sleep 1
xdotool key r
expect recall '^recall [0-9]' 25 recall
xdotool key Escape
expect closed "\$still"
xdotool key x
for _ in \$(seq 1 25); do kill -0 \$pid 2>/dev/null || break; sleep 0.2; done
kill -0 \$pid 2>/dev/null && { echo "FAIL: X did not end the game" >> "$work/steps.txt"; kill -TERM \$pid; }
wait \$pid
./game --recall > "$work/recall_text.txt"
INSIDE
x_server 1024x768x24 || fail "no X server: $(cat "$work/xvfb.txt")"
bash "$work/inside.sh"
[ -f "$work/steps.txt" ] && fail "$(cat "$work/steps.txt")"
[ "$(wc -l < "$work/dealt.txt")" = 12 ] || fail "deals seen: $(cat "$work/dealt.txt")"
# The newest ten, newest first.
expected="recall $(tail -n 10 "$work/dealt.txt" | tac | tr '\n' ' ' | sed 's/ $//')"
seen=$(cat "$work/recall.txt")
[ "$seen" = "$expected" ] || fail "recall shows: $seen; the screen dealt: $expected"
echo "recall on screen: $seen"
# The command line lists the same ten, symbols by name, newest first.
[ "$(wc -l < "$work/recall_text.txt")" = 11 ] || fail "--recall printed: $(cat "$work/recall_text.txt")"
names=(x BAR BELL 7 GRAPES 2BAR 3BAR RED7 BLUE7 CHERRY MELON)
row=1
for line in $(tail -n 10 "$work/dealt.txt" | tac); do
  IFS=. read -r a b c <<< "$line"
  want="${names[$a]} ${names[$b]} ${names[$c]}"
  got=$(sed -n "$((row + 1))p" "$work/recall_text.txt" | cut -c17-)
  [[ "$got" == "$want"* ]] || fail "--recall row $row: '$got', dealt '$want'"
  row=$((row + 1))
done
echo "recall on the command line: the same ten games"
echo "end to end: passed"
