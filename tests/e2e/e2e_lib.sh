# What the end-to-end scripts share, sourced by each: a scratch folder ($work) that goes at
# exit with the processes they started (in $keys, $game, $pid, $xvfb and $speechd), an X server
# of their own, screenshots read by screen_check, a data file's 32-bit values, and a failure that
# says what went wrong and what the game printed. The player's preferences and the game's
# remembered window live in $work too, so no run reads or leaves the tester's own.
work=$(mktemp -d)
export XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state"
e2e_cleanup() {
  local p
  for p in ${keys:-} ${game:-} ${pid:-} ${xvfb:-} ${speechd:-}; do
    kill -KILL "$p" 2>/dev/null || true
  done
  wait 2>/dev/null || true
  chmod -R u+rwx "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap e2e_cleanup EXIT

fail() {
  echo "FAIL${fail_context:+ ($fail_context)}: $*"
  cat "$work/out.txt" 2>/dev/null || true
  exit 1
}

# An X server with one screen of WxHxD, named in DISPLAY (and its size in screen_w and
# screen_h); any earlier one ends first. False when it cannot be made.
x_server() {
  [ -n "${xvfb:-}" ] && { kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null || true; xvfb=; }
  IFS=x read -r screen_w screen_h _ <<< "$1"
  export screen_w screen_h
  rm -f "$work/display"
  exec 3> "$work/display"
  Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp < /dev/null > "$work/xvfb.txt" 2>&1 &
  xvfb=$!
  exec 3>&-
  for _ in $(seq 1 100); do
    [ -s "$work/display" ] && { DISPLAY=:$(head -n1 "$work/display"); export DISPLAY; return 0; }
    kill -0 "$xvfb" 2>/dev/null || { xvfb=; return 1; }
    sleep 0.1
  done
  return 1
}

# A data file's little-endian 32-bit values, on one line.
int32s() { od -An -v -t d4 "$1" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }

# For the scripts that run inside the X server: a screenshot as screen_check ($check) reads
# it, into NAME.txt, more arguments going to screen_check; a wait of COUNT fifths of a second
# (15 s) at most until the screen matches PATTERN, false once the game ($pid) has ended or the
# time has run out; and the same wait that notes its failure in steps.txt.
shot() {
  xwd -root -silent | convert xwd:- bmp3:"$work/$1.bmp" 2>/dev/null &&
    "$check" "$work/$1.bmp" "$screen_w" "$screen_h" "${@:2}" > "$work/$1.txt"
}
wait_for() {
  local name=$1 pattern=$2 count=${3:-75}
  shift $(($# < 3 ? $# : 3))
  for _ in $(seq 1 "$count"); do
    shot "$name" "$@" && grep -Eq "$pattern" "$work/$name.txt" && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.2
  done
  return 1
}
expect() {
  wait_for "$@" || { echo "FAIL: $1: $(cat "$work/$1.txt" 2>/dev/null)" >> "$work/steps.txt"; return 1; }
}
export work
export -f shot wait_for expect
