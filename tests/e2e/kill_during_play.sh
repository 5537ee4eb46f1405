#!/usr/bin/env bash
# The real game on one virtual X display, driven by fast keys (coins, bets, deals, collect) and
# killed with SIGKILL at random moments, again and again. After every kill the credit file is
# exactly 16 bytes and holds a record the game could have written, and the next start runs:
# the game must still be alive when the next kill comes. A last start ends by X and writes
# back what it found, the saved win joined to the credit.
#
#   kill_during_play.sh FRUVANA
# 30 kills, 200 with FRUVANA_LONG=1 (FRUVANA_KILLS sets any number); FRUVANA_KILL_SEED picks
# the moments (default 14).
set -euo pipefail
program=$1
kills=30
[ "${FRUVANA_LONG:-}" = 1 ] && kills=200
kills=${FRUVANA_KILLS:-$kills}
seed=${FRUVANA_KILL_SEED:-14}
RANDOM=$seed
source "$(dirname "$0")/e2e_lib.sh"
fail_context="seed $seed"
keys=
game=

# The game keeps its files beside the program: a copy of its own in a fresh folder.
cp "$program" "$work/fruvana"

# One X server for the whole run.
x_server 1024x768x24 || fail "Xvfb did not start: $(cat "$work/xvfb.txt")"

# The pays of the table times a bet of 1 to 10: every win the game can hold.
wins=" 0 "
for pay in 2 5 7 10 15 25 50 75 100 250 500; do
  for bet in $(seq 1 10); do wins+="$((pay * bet)) "; done
done

record() { int32s "$work/fruvana.ini"; }

check_record() {
  local when=$1 size
  # Killed before its first save, the game has written nothing yet; once written, the file
  # never goes away.
  [ -e "$work/fruvana.ini" ] || [ -n "$written" ] || return 0
  written=yes
  size=$(stat -c %s "$work/fruvana.ini" 2>/dev/null) || fail "$when: no credit file"
  [ "$size" = 16 ] || fail "$when: the credit file has $size bytes"
  read -r bet win credit account <<< "$(record)"
  (( bet >= 1 && bet <= 10 )) || fail "$when: bet $bet"
  (( credit >= 0 && credit <= 9999999 )) || fail "$when: credit $credit"
  (( account >= -99999999 && account <= 99999999 )) || fail "$when: account $account"
  [[ "$wins" == *" $win "* ]] || fail "$when: win $win is no pay of any bet"
}

# Keys a player could hammer: coin, bet up, bet down, the lever, collect. A key's handler
# waits 200 ms with the next keys handled inside that wait, so keys faster than that only pile
# up and nothing is saved until they stop; a key every 200 to 290 ms keeps the game saving.
hammer() {
  local choice=(c period comma Return o)
  while :; do
    xdotool key "${choice[RANDOM % 5]}" 2>/dev/null || true
    sleep "0.2$((RANDOM % 10))"
  done
}

written=
turned_away=0
start=$(date +%s)
k=0
while ((k < kills)); do
  k=$((k + 1))
  (cd "$work" && exec ./fruvana > "$work/out.txt" 2>&1) &
  game=$!
  hammer &
  keys=$!
  # From the first moments of start-up (the first save) to well into the play.
  sleep "$((RANDOM % 3)).$((RANDOM % 10))$((RANDOM % 10))"
  if ! kill -0 "$game" 2>/dev/null; then
    # A heavily loaded X server may turn a connection away; the game then says so in one line
    # and writes nothing, which is no fault of its saving. A few of those are let pass.
    if grep -q '^Fruvana: no display could be opened' "$work/out.txt" && ((turned_away < 3)); then
      turned_away=$((turned_away + 1))
      kill -KILL "$keys" 2>/dev/null || true
      wait "$keys" "$game" 2>/dev/null || true
      game=''
      keys=''
      check_record "after a start the X server turned away"
      k=$((k - 1))  # that round had no kill; it comes again
      continue
    fi
    fail "kill $k: the game ended by itself"
  fi
  kill -KILL "$game"
  wait "$game" 2>/dev/null || true
  kill -KILL "$keys" 2>/dev/null || true
  wait "$keys" 2>/dev/null || true
  game=''
  keys=''
  check_record "after kill $k"
  [ -n "${FRUVANA_KILL_TRACE:-}" ] && echo "kill $k: $(record)"
done
echo "kills: $kills in $(( $(date +%s) - start )) s, seed $seed, last record $(record)," \
  "starts turned away by the X server: $turned_away"

# A last start runs normally: the intro, then X writes back the record it found.
read -r bet win credit account <<< "$(record)"
(cd "$work" && exec ./fruvana > "$work/out.txt" 2>&1) &
game=$!
sleep 1
for _ in $(seq 1 20); do
  kill -0 "$game" 2>/dev/null || break
  xdotool key x 2>/dev/null || true
  sleep 1
done
kill -0 "$game" 2>/dev/null && fail "the last start did not end on X"
status=0
wait "$game" || status=$?
game=
[ "$status" = 0 ] || fail "the last start ended with $status"
check_record "after the last start"
want="$bet 0 $((credit + win)) $account"
(( credit + win > 9999999 )) && want="$bet 0 9999999 $((account + credit + win - 9999999))"
[ "$(record)" = "$want" ] || fail "the last start wrote $(record), not $want"
echo "kill during play: passed"
