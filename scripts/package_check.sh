#!/usr/bin/env bash
# Builds the Debian package with dpkg-buildpackage from a copy of this tree (the tracked files
# and the new ones git does not ignore) in BUILD_DIR/src, so no build product lands in the
# source tree, and checks it without installing it (the Debian packages the build and the
# checks need are installed when missing): the build log with blhc, the program with
# hardening-check, the menu entry, the AppStream metadata, lintian --pedantic, and the
# unpacked game started on a virtual display for one deal. With CI=true (a disposable
# machine, as root) it also installs the package with apt, starts the installed game from its
# menu entry's Exec line, plays one deal, quits, and removes the package. With FRUVANA_LONG=1
# it builds the package a second time, later and in another folder, and both builds must give
# the same bytes.
# Usage: scripts/package_check.sh BUILD_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:?usage: scripts/package_check.sh BUILD_DIR}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package: $*" >&2; exit 1; }
source "$root/scripts/packages.sh"
"$root/scripts/deps.sh" "${BUILD_PACKAGES[@]}" "${PACKAGE_CHECK_PACKAGES[@]}"
# The package build's own check of its dependencies, before the build, so that one missing says
# its name here rather than at the end of a build log.
unmet=$(cd "$root" && dpkg-checkbuilddeps 2>&1) ||
  fail "the package cannot be built here: ${unmet#dpkg-checkbuilddeps: error: }"

# The copy and the build products live in BUILD_DIR, which must stay out of the copy.
case $build/ in
  "$root"/build*/*) ;; # ignored by git, so never copied
  "$root"/*) fail "BUILD_DIR must be outside $root or under its build/ folder" ;;
esac

# The sources as they are now, taken once so that every build below starts from the same ones
# even while the working tree changes.
if git -C "$root" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  # A file deleted in the working tree is still listed as tracked: only those present go.
  git -C "$root" ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' file; do
      [[ -e $root/$file ]] && printf '%s\0' "$file"
    done | tar -C "$root" --null -T - -cf "$work/sources.tar"
else
  tar -C "$root" --exclude=./build --exclude='./obj-*' -cf "$work/sources.tar" .
fi

# The compiler's output is kept between runs (ccache, in BUILD_DIR/ccache), so a check after a
# small change compiles only what changed; every build still starts from clean sources.
export CCACHE_DIR=$build/ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache

# Builds the package from those sources in $1/src, every file stamped with the time it is
# unpacked (so two builds start from different times, as two machines would); the package
# lands in $1, the log in $1/build.log.
build_package() {
  rm -rf "$1/src" "$1"/fruvana*_*.{deb,ddeb,buildinfo,changes}
  mkdir -p "$1/src"
  tar -C "$1/src" -xmf "$work/sources.tar"
  (cd "$1/src" && DEB_BUILD_OPTIONS="parallel=$(nproc)" dpkg-buildpackage -us -uc -b) \
    > "$1/build.log" 2>&1 || fail "dpkg-buildpackage failed, the end of $1/build.log:
$(tail -n 20 "$1/build.log")"
}

build_package "$build"
debs=("$build"/fruvana*_*.*deb)
deb=$(ls "$build"/fruvana_*.deb)
echo "package: built $(basename "$deb") ($(stat -c %s "$deb") bytes)"

# The build log: every compiler and linker call with the distribution's hardening flags.
blhc --all "$build/build.log" || fail "blhc finds flags missing in $build/build.log"
# Flags dpkg-buildflags does not give on this release come from cmake/hardening.cmake alone.
compiles=$(grep -E '(c\+\+|g\+\+)[^ ]* .* -c [^ ]+\.cpp$' "$build/build.log" || true)
[[ -n $compiles ]] || fail "no compiler call found in $build/build.log"
for flag in -fstack-clash-protection -fcf-protection; do
  missing=$(grep -c -v -e "$flag" <<<"$compiles" || true)
  [[ $missing -eq 0 ]] || fail "$missing compiler calls without $flag in $build/build.log"
done

dpkg-deb -x "$deb" "$work/root"
program=$work/root/usr/games/fruvana
# Control-flow protection shows in a program only when every object linked into it is marked,
# the C library's start files included. Where those are not marked (Debian 12), no program
# linked here can pass that check; every object of the game must carry the mark instead.
hardening_args=()
if [[ $(dpkg --print-architecture) == amd64 ]] &&
  ! readelf -n "$(c++ -print-file-name=Scrt1.o)" | grep 'x86 feature: IBT, SHSTK' >/dev/null; then
  hardening_args=(--nocfprotection)
  while IFS= read -r -d '' object; do
    readelf -n "$object" | grep 'x86 feature: IBT, SHSTK' >/dev/null ||
      fail "$object has no control-flow protection mark"
  done < <(find "$build"/src/obj-* -name '*.o' -print0)
fi
hardening-check "${hardening_args[@]}" "$program" >"$work/hardening.txt" ||
  fail "hardening-check: $(cat "$work/hardening.txt")"
echo "package: build log and program hardened"

desktop-file-validate "$work/root/usr/share/applications/fruvana.desktop" ||
  fail "the menu entry does not validate"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/"*.metainfo.xml >/dev/null ||
  fail "the AppStream metadata does not validate"
lintian_args=()
[[ $(id -u) -eq 0 ]] && lintian_args=(--allow-root)
lintian "${lintian_args[@]}" --pedantic --fail-on error,warning,pedantic "$build"/fruvana_*.changes ||
  fail "lintian is not clean"
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

one_deal "$program" "$work/root/usr/games"
echo "package: the unpacked game played one deal"

if [[ ${CI:-} == true && $(id -u) -eq 0 ]]; then
  apt-get install -y -qq "$deb" >/dev/null
  # The entry's own Exec line, the first; the "Play in a window" action has one of its own.
  exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/fruvana.desktop | head -n 1)
  HOME="$work/home" one_deal "$exec_line" "$work/home/.local/share/fruvana"
  apt-get remove -y -qq fruvana >/dev/null
  echo "package: installed with apt, played from the menu entry's Exec line, removed"
fi

# The same sources built again in a folder of another name and length, minutes later: the
# time every package file carries comes from debian/changelog and the paths compiled into the
# program are made relative, so each package must match its twin byte for byte.
# The second build compiles everything afresh.
if [[ ${FRUVANA_LONG:-} == 1 ]]; then
  CCACHE_DISABLE=1 build_package "$build/again"
  for first in "${debs[@]}"; do
    second=$build/again/$(basename "$first")
    [[ -f $second ]] || fail "the second build made no $(basename "$first")"
    sum=$(sha256sum <"$first" | cut -d' ' -f1)
    [[ $(sha256sum <"$second" | cut -d' ' -f1) == "$sum" ]] ||
      fail "$(basename "$first") differs between $build and $build/again"
    echo "package: $(basename "$first") the same from both builds, sha256 $sum"
  done
fi
