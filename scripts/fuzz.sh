#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each one for a while on a copy of its seed corpus.
# Usage: scripts/fuzz.sh BUILD_DIR [SECONDS]
#
# SECONDS per target defaults to 20, or 600 with FRUVANA_LONG=1. Prints one line per target with
# its executions per second and coverage, and fails when any target finds a crash, a leak, a
# hang or a broken promise; the input that did it is kept in BUILD_DIR/findings/ and named, with
# the command that replays it. Nothing is written into the source tree.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

fail() { echo "fuzz: $*" >&2; exit 2; }
[[ $# -ge 1 && $# -le 2 ]] || fail "usage: scripts/fuzz.sh BUILD_DIR [SECONDS]"
seconds=${2:-$([[ ${FRUVANA_LONG:-0} == 1 ]] && echo 600 || echo 20)}
[[ $seconds =~ ^[1-9][0-9]*$ ]] || fail "SECONDS must be a whole number above 0, not '$seconds'"
source "$root/scripts/packages.sh"
"$root/scripts/deps.sh" "${BUILD_PACKAGES[@]}" "${TOOL_PACKAGES[@]}" "${FUZZ_PACKAGES[@]}"

targets=(fuzz_data_files fuzz_property_lists fuzz_whole_game)
# Longest input per target: a data file is at most 526 bytes (a recall of ten games) after its
# 9 bytes of set-up, and a whole game stops after 200 steps anyway. A game's inputs may be that
# long from the start, since what they reach lies many steps deep; the others grow their inputs
# as libFuzzer sees fit.
declare -A maxLen=([fuzz_data_files]=600 [fuzz_property_lists]=2048 [fuzz_whole_game]=512)
declare -A lenControl=([fuzz_data_files]=100 [fuzz_property_lists]=100 [fuzz_whole_game]=0)

mkdir -p "$1"
build=$(cd "$1" && pwd)
case $build/ in
  "$root"/build/* | "$root"/build/) ;;
  "$root"/*) fail "the build folder must lie outside the source tree or under build/" ;;
esac
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DFRUVANA_FUZZ=ON -DFRUVANA_TESTS=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j 2 --target "${targets[@]}"

# The targets' scratch folders go in a folder of this run, in memory where there is one, and
# are removed even when a target stops at a crash.
memory=/dev/shm
[[ -d $memory && -w $memory ]] || memory=${TMPDIR:-/tmp}
scratch=$(mktemp -d "$memory/fruvana-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

# The first line of a report that says what went wrong: a check of ours, a sanitizer, a hang.
reasons='broken promise|ERROR: (Address|Leak)Sanitizer|ERROR: libFuzzer|runtime error'
reasons+='|ALARM: working on the last Unit|deadly signal'
status=0
mkdir -p "$build/findings" "$build/logs"
for target in "${targets[@]}"; do
  corpus=$build/corpus/$target
  rm -rf "$corpus"
  mkdir -p "$corpus"
  cp "$root/tests/fuzz/corpus/$target/"* "$corpus/"
  log=$build/logs/$target.log
  program=$build/tests/fuzz/$target
  rc=0
  TMPDIR=$scratch \
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0 \
    "$program" -max_total_time="$seconds" -max_len="${maxLen[$target]}" \
    -len_control="${lenControl[$target]}" -timeout=30 \
    -rss_limit_mb=3072 -artifact_prefix="$build/findings/$target-" \
    "$corpus" >"$log" 2>&1 || rc=$?
  # libFuzzer's last status line: "#N DONE cov: C ft: F corp: I/B ... exec/s: E rss: R".
  last=$(grep -E '^#[0-9]+.*cov: ' "$log" | tail -n 1 || true)
  cov=$(sed -nE 's/.* cov: ([0-9]+).*/\1/p' <<<"$last")
  execs=$(sed -nE 's/.* exec\/s: ([0-9]+).*/\1/p' <<<"$last")
  runs=$(sed -nE 's/^#([0-9]+).*/\1/p' <<<"$last")
  printf 'fuzz: %-20s %6s exec/s, cov %5s, %s runs in %s s\n' "$target" "${execs:-?}" \
    "${cov:-?}" "${runs:-?}" "$seconds"
  if [[ $rc -ne 0 ]]; then
    status=1
    found=$(sed -nE 's/.*Test unit written to (.+)$/\1/p' "$log" | tail -n 1)
    why=$(grep -m1 -E "$reasons" "$log" || true)
    echo "fuzz: $target FAILED (exit $rc): ${why:-see $log}"
    if [[ -n $found ]]; then
      echo "fuzz:   the input is $found; replay it with: $program $found"
    fi
    echo "fuzz:   the whole report is in $log"
  fi
done
exit "$status"
