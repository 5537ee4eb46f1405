#!/usr/bin/env bash
# Builds Fruvana with every test (installing what is missing), runs the whole suite and the
# lint gate (scripts/lint.sh), builds and checks the Debian package (scripts/package_check.sh),
# then builds and runs the suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/packages.sh"
"$root/scripts/deps.sh" "${BUILD_PACKAGES[@]}" "${TOOL_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
jobs=$(nproc)

run_suite() {
  local dir=$1; shift
  cmake -S "$root" -B "$dir" -G Ninja -DFRUVANA_TESTS=ON -DFRUVANA_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

echo "== test build"
run_suite "$root/build/test" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFRUVANA_BENCH=ON
echo "== lint"
"$root/scripts/lint.sh" "$root/build/test"
echo "== fuzz"
"$root/scripts/fuzz.sh" "$root/build/fuzz"
echo "== package"
"$root/scripts/package_check.sh" "$root/build/package"
echo "== sanitizer build"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_suite "$root/build/asan" -DCMAKE_BUILD_TYPE=Debug -DFRUVANA_SANITIZE=ON
