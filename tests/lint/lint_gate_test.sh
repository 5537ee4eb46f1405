#!/usr/bin/env bash
# shellcheck disable=SC2317  # the cases' set-up functions are called by name from the table
# The lint gate on a small throw-away project: every case starts from a fresh git repository
# holding the project's lint script and settings and two clean sources, changes something, and
# checks the exit code and a line of the report. Usage: lint_gate_test.sh SOURCE_ROOT
set -euo pipefail
shopt -s inherit_errexit
src=$(cd "$1" && pwd)
for tool in clang-format cppcheck clang-tidy python3 git; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
unset FRUVANA_LONG
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# engine/counter.{h,cpp} and engine/tally.{h,cpp}, formatted and committed, with origin/main at
# that commit; the compile database also names engine/extra.cpp (not there yet) and a source the
# build generates.
fresh() {
  local dir=$tmp/$1
  mkdir -p "$dir/scripts" "$dir/engine" "$dir/out"
  cp "$src/scripts/lint.sh" "$dir/scripts/"
  cp "$src/.clang-format" "$src/.clang-tidy" "$dir/"
  printf '/out/\n' >"$dir/.gitignore"
  for name in counter tally; do
    printf '#pragma once\nnamespace probe {\nint %s(int n);\n}\n' "$name" >"$dir/engine/$name.h"
    printf '#include "engine/%s.h"\nnamespace probe {\nint %s(int n) { return n + 1; }\n}\n' \
      "$name" "$name" >"$dir/engine/$name.cpp"
  done
  clang-format -i "$dir"/engine/*
  python3 - "$dir" <<'EOF'
import json, sys
d = sys.argv[1]
files = ["engine/counter.cpp", "engine/tally.cpp", "engine/extra.cpp", "out/generated.cpp"]
json.dump([{"directory": d + "/out", "file": d + "/" + f,
            "command": "c++ -std=c++20 -I" + d + " -c " + d + "/" + f} for f in files],
          open(d + "/out/compile_commands.json", "w"))
EOF
  (
    cd "$dir"
    git init -q
    git add .
    git -c user.name=probe -c user.email=probe@localhost commit -qm start
    git update-ref refs/remotes/origin/main HEAD
  )
  echo "$dir"
}

commitAsMain() {
  git -c user.name=probe -c user.email=probe@localhost commit -qam "$1"
  git update-ref refs/remotes/origin/main HEAD
}

# What each case changes, run inside its repository.
setup_clean() { :; }
setup_drift() { sed -i 's/n + 1/n+1/' engine/tally.cpp; }
setup_cppcheck() { sed -i 's/return n + 1;/return (n >> 31) \& 1;/' engine/tally.cpp; }
setup_cppcheckSuppressed() {
  setup_cppcheck
  sed -i 's|^\( *\)return|\1// cppcheck-suppress shiftTooManyBitsSigned ; a test of the gate\n&|' \
    engine/tally.cpp
}
# A pointer made from 0, which clang-tidy asks to be nullptr.
zeroPointer='inline int* none() { return 0; }'
setup_tidyHeader() {
  sed -i "s/^int counter(int n);/&\n$zeroPointer/" engine/counter.h
  clang-format -i engine/counter.h
}
setup_tidyDeepHeader() {
  printf '#pragma once\ninline int zero() { return 0; }\n' >engine/deep.h
  sed -i 's/^#pragma once/#pragma once\n#include "engine\/deep.h"/' engine/counter.h
  clang-format -i engine/deep.h engine/counter.h
  git add engine/deep.h
  commitAsMain "a header only other headers include"
  printf '#pragma once\n%s\n' "$zeroPointer" >engine/deep.h
  clang-format -i engine/deep.h
}
setup_tidyUntracked() {
  printf 'int* none() { return 0; }\n' >engine/extra.cpp
  clang-format -i engine/extra.cpp
}
setup_findingOnMain() {
  setup_tidyHeader
  commitAsMain "a finding"
  printf '// A change.\n' >>engine/tally.cpp
}
setup_findingOnMainLong() { setup_findingOnMain; }
setup_findingOnBranch() {
  setup_tidyHeader
  git -c user.name=probe -c user.email=probe@localhost commit -qam "a finding, not on main yet"
}
setup_checksChanged() {
  setup_findingOnMain
  printf '# A change.\n' >>.clang-tidy
}
setup_generated() {
  printf 'int*   none( ) {int a[2] = {0, 0}; a[2] = 1; return 0;}\n' >out/generated.cpp
}
setup_noDatabase() { rm out/compile_commands.json; }
# Build-Depends over lines, with versions, against the list the scripts install: one each apart.
setup_dependsDisagree() {
  mkdir -p debian && printf 'Build-Depends: cmake (>= 3.25),\n  debhelper-compat (= 13), libcli11-dev,\nX: y\n' >debian/control
  printf 'PACKAGE_BUILD_DEPENDS=(ninja-build cmake\n  debhelper)\n' >scripts/packages.sh
}

cases=(
  # name               exit  environment     text the report must hold (each part of a | b)
  "clean                0    -               lint: clean | every source outside tests/ and bench/"
  "drift                1    -               engine/tally.cpp"
  "cppcheck             1    -               [shiftTooManyBitsSigned]"
  "cppcheckSuppressed   0    -               lint: clean"
  "tidyHeader           1    -               [modernize-use-nullptr"
  "tidyDeepHeader       1    -               engine/deep.h: | 1 source(s) a change touches"
  "tidyUntracked        1    -               engine/extra.cpp: | 1 source(s) a change touches"
  "findingOnMain        0    -               1 source(s) a change touches"
  "findingOnMainLong    1    FRUVANA_LONG=1  the whole tree (FRUVANA_LONG=1)"
  "findingOnBranch      1    -               [modernize-use-nullptr | 1 source(s) a change touches"
  "checksChanged        1    -               the whole tree (.clang-tidy changed)"
  "generated            0    -               lint: clean"
  "noDatabase           2    -               no compile_commands.json in"
  "dependsDisagree      1    -               libcli11-dev: in debian | ninja-build: in PACKAGE"
)

failed=0
for row in "${cases[@]}"; do
  read -r name want environment expected <<<"$row"
  dir=$(fresh "$name")
  (cd "$dir" && "setup_$name")
  vars=()
  [[ $environment == - ]] || vars=("$environment")
  set +e
  out=$(cd "$dir" && env "${vars[@]}" scripts/lint.sh out 2>&1)
  got=$?
  set -e
  missing=""
  IFS='|' read -r -a parts <<<"$expected"
  for part in "${parts[@]}"; do
    part=$(echo "$part" | sed 's/^ *//; s/ *$//')
    grep -qF -- "$part" <<<"$out" || missing=$part
  done
  if [[ $got -ne $want || -n $missing ]]; then
    echo "FAIL $name: exit $got (expected $want), wanted \"$missing\" in:"
    while IFS= read -r line; do echo "    $line"; done <<<"$out"
    failed=1
  else
    echo "ok   $name"
  fi
done
exit "$failed"
