#!/usr/bin/env bash
# Builds the Debian package and checks it without touching this system: its contents unpacked
# into a temporary folder, the menu entry, the AppStream metadata and lintian, and the unpacked
# game started on a virtual display for one deal. With CI=true (a disposable machine, as root)
# it also installs the package with apt, starts the installed game from its menu entry's Exec
# line, plays one deal, quits, and removes the package.
# Usage: scripts/package_check.sh BUILD_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:?usage: scripts/package_check.sh BUILD_DIR}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package: $*" >&2; exit 1; }

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DFRUVANA_TOOLS=OFF -DFRUVANA_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" >/dev/null
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/fruvana_*.deb)
echo "package: built $(basename "$deb")"

dpkg-deb -x "$deb" "$work/root"
desktop-file-validate "$work/root/usr/share/applications/fruvana.desktop" ||
  fail "the menu entry does not validate"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/"*.metainfo.xml >/dev/null ||
  fail "the AppStream metadata does not validate"
lintian_args=()
[[ $(id -u) -eq 0 ]] && lintian_args=(--allow-root)
lintian "${lintian_args[@]}" --fail-on error,warning "$deb" || fail "lintian is not clean"
echo "package: menu entry, metadata and lintian clean"

# One deal: wait out the intro, Enter deals (the stake is saved at once), X saves and quits.
# The credit file, found in $2, must then hold a credit of 995.
one_deal() {
  local command=$1 files=$2
  cat > "$work/deal.sh" <<INSIDE
"$command" > "$work/game.txt" 2>&1 &
pid=\$!
sleep 5
xdotool key Return
sleep 4
xdotool key x
for _ in \$(seq 1 50); do kill -0 \$pid 2>/dev/null || break; sleep 0.2; done
wait \$pid
INSIDE
  xvfb-run -a -s "-screen 0 1024x768x24" bash "$work/deal.sh" ||
    fail "$command did not end cleanly: $(cat "$work/game.txt")"
  local credit
  credit=$(od -An -t d4 -j 8 -N 4 "$files/fruvana.ini" | tr -d ' ')
  [[ $credit == 995 ]] || fail "$command: credit $credit after one deal"
}

one_deal "$work/root/usr/games/fruvana" "$work/root/usr/games"
echo "package: the unpacked game played one deal"

if [[ ${CI:-} == true && $(id -u) -eq 0 ]]; then
  apt-get install -y -qq "$deb" >/dev/null
  # The entry's own Exec line, the first; the "Play in a window" action has one of its own.
  exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/fruvana.desktop | head -n 1)
  HOME="$work/home" one_deal "$exec_line" "$work/home/.local/share/fruvana"
  apt-get remove -y -qq fruvana >/dev/null
  echo "package: installed with apt, played from the menu entry's Exec line, removed"
fi
