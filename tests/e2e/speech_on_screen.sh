#!/usr/bin/env bash
# Speech heard by a real speech-dispatcher server of the test's own: its dummy output module
# (no sound), a private configuration, socket and log. With speech on in the preferences file,
# a deal by Enter and a coin reach the server as the game's sentences, which its log shows;
# then the server is killed, and the game plays on and says once on its terminal that speech is
# unavailable. Skipped (77) where no server can be started.
set -euo pipefail
program=$1
source "$(dirname "$0")/e2e_lib.sh"
command -v speech-dispatcher > /dev/null || { echo "SKIP: no speech-dispatcher here"; exit 77; }
cp "$program" "$work/game"
mkdir -p "$work/config/fruvana" "$work/speech/conf" "$work/speech/log"
printf '[sound]\nspeech = "on"\n' > "$work/config/fruvana/fruvana.conf"
# Deliberate: ALSA's null device stands for a sound card, so the dummy module loads on a machine
# without one; the server ends by itself 60 s after its last client in case it outlives us.
cat > "$work/speech/conf/speechd.conf" <<CONF
AddModule "dummy" "sd_dummy" ""
DefaultModule dummy
AudioOutputMethod "alsa"
AudioALSADevice "null"
LogLevel 5
CONF
# Its own pid file too, so a player's server already running does not stop it starting.
speech-dispatcher -s -t 60 -l 5 -c unix_socket -S "$work/speech/sock" -C "$work/speech/conf" \
  -L "$work/speech/log" -P "$work/speech/pid" > "$work/speech/server.txt" 2>&1 &
speechd=$!
for _ in $(seq 1 50); do [ -S "$work/speech/sock" ] && break; sleep 0.1; done
[ -S "$work/speech/sock" ] || { echo "SKIP: no speech server:"; cat "$work/speech/server.txt"; exit 77; }
log="$work/speech/log/speech-dispatcher.log"
# Waits for the server's log line of a message it queued.
wait_heard() {
  for _ in $(seq 1 50); do grep -Eq "Queueing message \|$1" "$log" 2>/dev/null && return 0; sleep 0.2; done
  fail "the speech server's log has no message like \"$1\": $(grep 'Queueing message' "$log")"
}

x_server 1024x768x24 || fail "no X server: $(cat "$work/xvfb.txt")"
cd "$work"
XDG_CONFIG_HOME="$work/config" SPEECHD_ADDRESS="unix_socket:$work/speech/sock" ./game \
  > "$work/out.txt" 2>&1 &
pid=$!
sleep 5
xdotool key Return
symbol='(Single bar|Bell|Yellow seven|Grapes|Double bar|Triple bar|Red seven|Blue seven|Cherry|Melon)'
wait_heard "$symbol, [a-z ]+, [a-z ]+\. (No win|[A-Z][a-z0-9 ]+, [0-9]+ paid)\. Credit [0-9]+\."
xdotool key c
wait_heard "Credit [0-9]+\. Win [0-9]+\. Bet 5\."
grep -q "speech is unavailable" "$work/out.txt" && fail "the game found no speech"
kill -KILL "$speechd"
wait "$speechd" 2>/dev/null || true
speechd=
for key in c c Return; do xdotool key $key; sleep 0.5; done
sleep 3
xdotool key x
for _ in $(seq 1 25); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
kill -0 "$pid" 2>/dev/null && fail "X did not end the game once its speech server was gone"
[ "$(grep -c "speech is unavailable" "$work/out.txt")" = 1 ] ||
  fail "a lost server was not said once on the terminal"
[ "$(int32s "$work/fruvana.ini" | cut -d' ' -f3)" -ge 2000 ] ||
  fail "the coins after the server went were not taken: $(int32s "$work/fruvana.ini")"
echo "speech: the game played on without its server, and said so once"
