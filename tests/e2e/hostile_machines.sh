#!/usr/bin/env bash
# The real game on machines that make it hard, each case with its expected result:
#   NoDisplay         no X or Wayland display: one line on stderr, exit 1, no file written
#   Small640x480      a screen too small: the intro with its message, the end after 3500 ms
#   EightBits         too few colours: the same, or, where SDL can make no window surface on
#                     such a screen, a refusal in one line (exit 1); skipped where Xvfb has
#                     no 8-bit screen
#   SixteenBits       plays: a deal by Enter is counted and X ends the game
#   NoAudioDevice     an audio driver that does not exist: plays the same, silently
#   ReadOnlyFolder    a program folder without a write bit: the files go to
#                     $XDG_DATA_HOME/fruvana, a folder for the player alone
#   FullDisk          every write fails (a file size limit of 0): the game plays and ends,
#                     the old credit file stays whole and no temporary file is left
#
#   hostile_machines.sh FRUVANA
set -euo pipefail
program=$1
source "$(dirname "$0")/e2e_lib.sh"
failures=0
fail() { echo "FAIL $name: $*"; sed 's/^/  stderr: /' "$work/err.txt" 2>/dev/null || true; failures=$((failures + 1)); }

# A fresh copy of the game in its own folder: the files live beside it.
fresh() {
  chmod -R u+rwx "$work/game" "$work/xdg" 2>/dev/null || true
  rm -rf "$work/game" "$work/xdg"
  mkdir -p "$work/game" "$work/xdg"
  cp "$program" "$work/game/fruvana"
}

# Runs the game with the given environment and shell prelude, stdout and stderr kept; sets
# pid.
launch() {
  local prelude=$1
  shift
  (cd "$work/game" && eval "$prelude" && exec env "$@" ./fruvana < /dev/null > "$work/out.txt" 2> "$work/err.txt") &
  pid=$!
}

# Waits up to N seconds for the game to end; sets status and took (ms), or fails.
finish() {
  local limit=$1 t0=$2
  for _ in $(seq 1 $((limit * 10))); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then
    kill -KILL "$pid"
    wait "$pid" 2>/dev/null || true
    fail "still running after $limit s"
    return 1
  fi
  status=0
  wait "$pid" || status=$?
  took=$(( ($(date +%s%N) - t0) / 1000000 ))
}

# Plays one deal by Enter after the intro and ends by X; the statistics must count it.
play_and_quit() {
  local files=$1 t0
  t0=$(date +%s%N)
  # The credit file is written once the window is open; a loaded machine may take a while.
  for _ in $(seq 1 200); do [ -e "$files/fruvana.ini" ] && break; sleep 0.1; done
  sleep 1
  kill -0 "$pid" 2>/dev/null || { finish 1 "$t0"; fail "ended by itself with $status"; return; }
  # The intro drops keys until it ends: Enter again until the deal takes its bet, which the
  # credit file shows.
  local before
  before=$(od -An -v -t x1 "$files/fruvana.ini")
  for _ in 1 2 3 4 5; do
    xdotool key Return
    for _ in $(seq 1 30); do
      [ "$(od -An -v -t x1 "$files/fruvana.ini")" != "$before" ] && break 2
      sleep 0.1
    done
  done
  sleep 3
  for _ in 1 2 3 4 5; do kill -0 "$pid" 2>/dev/null || break; xdotool key x; sleep 1; done
  finish 10 "$t0" || return
  [ "$status" = 0 ] || { fail "exit $status"; return; }
  local stats
  read -r -a stats <<< "$(int32s "$files/stat.dat" 2>/dev/null)"
  [ "${#stats[@]}" = 24 ] && [ "${stats[11]}" = 1 ] ||
    { fail "no deal counted in $files/stat.dat: ${stats[*]:-none}"; return; }
  [ "$(stat -c %s "$files/fruvana.ini")" = 16 ] || fail "credit file not 16 bytes"
}

# Ends by itself after the intro, with only the credit file written.
ends_after_intro() {
  local t0
  t0=$(date +%s%N)
  finish 20 "$t0" || return
  [ "$status" = 0 ] || { fail "exit $status"; return; }
  (( took >= 3500 )) || fail "ended after $took ms, before the intro's 3500"
  [ "$(cd "$work/game" && ls)" = "$(printf 'fruvana\nfruvana.ini')" ] ||
    fail "files: $(cd "$work/game" && ls | tr '\n' ' ')"
  echo "$name: ended after $took ms"
}

run_case() {
  name=$1
  local screen=$2
  fresh
  case $name in
    NoDisplay)
      launch "true" -u DISPLAY -u WAYLAND_DISPLAY
      finish 20 "$(date +%s%N)" || return
      [ "$status" = 1 ] || fail "exit $status, not 1"
      [ "$(wc -l < "$work/err.txt")" = 1 ] && grep -q '^Fruvana: ' "$work/err.txt" ||
        fail "stderr is not one line"
      [ "$(cd "$work/game" && ls)" = fruvana ] || fail "files written without a display"
      echo "$name: $(cat "$work/err.txt")"
      return ;;
  esac
  if ! x_server "$screen"; then
    if [ "$name" = EightBits ]; then echo "$name: skipped, Xvfb has no ${screen} screen"; return; fi
    fail "Xvfb -screen 0 $screen: $(cat "$work/xvfb.txt")"
    return
  fi
  case $name in
    Small640x480)
      launch "true"
      ends_after_intro ;;
    EightBits)
      launch "true"
      # SDL makes no window surface on an 8-bit X screen, so the intro cannot be drawn there;
      # the game then says the intro's colour message as its one line (exit 1, no file). A
      # crash, a hang, another line or a file written fail.
      local t0
      t0=$(date +%s%N)
      finish 20 "$t0" || return
      if [ "$status" = 1 ]; then
        [ "$(wc -l < "$work/err.txt")" = 1 ] &&
          grep -q '^Fruvana: Minimum color quality is 16 bits per pixel !$' "$work/err.txt" ||
          fail "stderr is not the colour message alone"
        [ "$(cd "$work/game" && ls)" = fruvana ] || fail "files written by a refused start"
        echo "$name: refused at start: $(cat "$work/err.txt")"
      else
        [ "$status" = 0 ] || { fail "exit $status"; return; }
        (( took >= 3500 )) || fail "ended after $took ms, before the intro's 3500"
        echo "$name: ended after $took ms"
      fi ;;
    SixteenBits)
      launch "true"
      play_and_quit "$work/game" && echo "$name: played" ;;
    NoAudioDevice)
      launch "true" SDL_AUDIODRIVER=no-such-driver
      play_and_quit "$work/game" && echo "$name: played silently" ;;
    ReadOnlyFolder)
      chmod 555 "$work/game"
      launch "true" XDG_DATA_HOME="$work/xdg"
      play_and_quit "$work/xdg/fruvana" || return
      [ "$(stat -c %a "$work/xdg/fruvana")" = 700 ] || fail "data folder mode $(stat -c %a "$work/xdg/fruvana")"
      [ "$(ls "$work/game")" = fruvana ] || fail "files beside a read-only program"
      echo "$name: files in \$XDG_DATA_HOME/fruvana" ;;
    FullDisk)
      printf '\x07\0\0\0\0\0\0\0\xe1\x10\0\0\x18\xfc\xff\xff' > "$work/game/fruvana.ini"  # 7 0 4321 -1000
      local before
      before=$(od -An -v -t x1 "$work/game/fruvana.ini")
      launch "trap '' XFSZ; ulimit -f 0"
      local t0
      t0=$(date +%s%N)
      sleep 4.5
      xdotool key c
      sleep 1
      for _ in 1 2 3 4 5; do kill -0 "$pid" 2>/dev/null || break; xdotool key x; sleep 1; done
      finish 10 "$t0" || return
      [ "$status" = 0 ] || { fail "exit $status"; return; }
      [ "$(od -An -v -t x1 "$work/game/fruvana.ini")" = "$before" ] || fail "the credit file changed"
      [ "$(ls "$work/game")" = "$(printf 'fruvana\nfruvana.ini')" ] ||
        fail "files: $(ls "$work/game" | tr '\n' ' ')"
      echo "$name: played, the old credit file whole" ;;
  esac
}

while read -r case_name screen; do
  [ -z "$case_name" ] || [ "${case_name:0:1}" = "#" ] && continue
  run_case "$case_name" "$screen"
done <<'TABLE'
NoDisplay       -
Small640x480    640x480x24
EightBits       1024x768x8
SixteenBits     1024x768x16
NoAudioDevice   1024x768x24
ReadOnlyFolder  1024x768x24
FullDisk        1024x768x24
TABLE

[ "$failures" = 0 ] || { echo "hostile machines: $failures failed"; exit 1; }
echo "hostile machines: passed"
