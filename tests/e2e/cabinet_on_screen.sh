#!/usr/bin/env bash
# Starts the game full screen on virtual displays of two sizes, looks at the screen, then asks
# the program to close (the SDL layer turns SIGTERM into a close request) and expects a clean end.
set -euo pipefail
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

check_screen() {
  local width=$1 height=$2
  cat > "$work/inside.sh" <<INSIDE
set -euo pipefail
"$program" > "$work/out.txt" 2>&1 &
pid=\$!
# Wait until the window has painted something other than black at the first reel.
for _ in \$(seq 1 100); do
  sleep 0.2
  kill -0 \$pid 2>/dev/null || { echo "the game ended early:"; cat "$work/out.txt"; exit 1; }
  xwd -root -silent > "$work/shot.xwd" 2>/dev/null || continue
  [ "\$(convert "$work/shot.xwd" -format '%[pixel:p{$(( (width - 800) / 2 + 365 )),$(( (height - 600) / 2 + 430 ))}]' info:)" != "black" ] && break
done
kill -TERM \$pid
status=0
wait \$pid || status=\$?
echo "exit \$status" > "$work/status.txt"
INSIDE
  xvfb-run -a -s "-screen 0 ${width}x${height}x24" bash "$work/inside.sh"
  local status
  status=$(cat "$work/status.txt")
  [ "$status" = "exit 0" ] || { echo "${width}x${height}: the game did not end cleanly ($status)"; cat "$work/out.txt"; exit 1; }

  local ox=$(( (width - 800) / 2 )) oy=$(( (height - 600) / 2 ))
  pixel() { convert "$work/shot.xwd" -format "%[pixel:p{$1,$2}]" info:; }
  # The three reel windows are white before the first deal.
  for reel_x in 304 446 588; do
    local p
    p=$(pixel $(( ox + reel_x + 61 )) $(( oy + 369 + 61 )))
    [ "$p" = "white" ] || [ "$p" = "srgb(255,255,255)" ] || { echo "${width}x${height}: reel at $reel_x shows $p"; exit 1; }
  done
  # The tiled background fills the screen's corner (not the black of an empty window).
  local corner
  corner=$(pixel 2 2)
  [ "$corner" != "black" ] && [ "$corner" != "srgb(0,0,0)" ] || { echo "${width}x${height}: empty corner"; exit 1; }
  echo "${width}x${height}: cabinet on screen, clean exit"
}

check_screen 1024 768
check_screen 1280 1024
