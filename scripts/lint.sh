#!/usr/bin/env bash
# The house checks: formatting, cppcheck and clang-tidy, all three run, and any finding fails.
# Usage: scripts/lint.sh BUILD_DIR   (a configured build folder holding compile_commands.json)
#
# clang-tidy is the slow one, so by default it looks only at the files a change touches: those
# changed since the merge base with origin/main, or, without origin/main, those of the last
# commit and the working tree (untracked files included). A changed header is checked through
# its own .cpp, or else through the first source in the build that includes it. When nothing
# changed (a fresh clone of main), it checks every source outside tests/ and bench/; when
# .clang-tidy itself changed, or with FRUVANA_LONG=1, the whole tree.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

fail() { echo "lint: $*" >&2; exit 2; }
[[ $# -eq 1 ]] || fail "usage: scripts/lint.sh BUILD_DIR (a build folder with compile_commands.json)"
[[ -d $1 ]] || fail "no build folder $1"
build=$(cd "$1" && pwd)
[[ -f $build/compile_commands.json ]] ||
  fail "no compile_commands.json in $build; configure it with CMake first"
for tool in clang-format cppcheck clang-tidy python3; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/packages.sh names it)"
done

jobs=$(nproc)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$root"
status=0
started=$SECONDS

# Every C++ file of the source tree: tracked, or new and not ignored (build folders are ignored).
inGit=0
command -v git >/dev/null && git rev-parse --is-inside-work-tree >/dev/null 2>&1 && inGit=1
sources=()
if [[ $inGit == 1 ]]; then
  while IFS= read -r -d '' f; do
    [[ -f $f ]] && sources+=("$f")
  done < <(git ls-files -z -co --exclude-standard -- '*.cpp' '*.h')
else
  while IFS= read -r -d '' f; do
    sources+=("${f#./}")
  done < <(find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print0)
fi

# --- formatting ---------------------------------------------------------------------------------
step=$SECONDS
if ! clang-format --dry-run --Werror "${sources[@]}" 2>"$work/format.txt"; then
  status=1
  mapfile -t drifting < <(grep -oE '^[^:]+:[0-9]+:[0-9]+: (error|warning)' "$work/format.txt" |
    cut -d: -f1 | sort -u)
  if [[ ${#drifting[@]} -gt 0 ]]; then
    echo "lint: these files differ from .clang-format (clang-format -i FILE mends one):"
    printf '  %s\n' "${drifting[@]}"
  else
    echo "lint: clang-format failed:"
    cat "$work/format.txt"
  fi
fi
echo "lint: format checked ${#sources[@]} files in $((SECONDS - step)) s"

# --- the package build's dependencies -----------------------------------------------------------
# debian/control's Build-Depends and the list the scripts install from must name the same
# packages, or a package build meets a dependency that no script installed.
if [[ -f debian/control && -f scripts/packages.sh ]]; then
  listed=$(bash -c 'source scripts/packages.sh && printf "%s\n" "${PACKAGE_BUILD_DEPENDS[@]}"')
  if ! python3 - "$listed" >"$work/depends.txt" <<'EOF'; then
import re, sys
control = open("debian/control", encoding="utf-8").read()
field = re.search(r"^Build-Depends:(.*?)(?=^\S|\Z)", control, re.M | re.S)
declared = set()
for entry in field.group(1).split(",") if field else []:
    name = re.split(r"[\s(\[<:|]", entry.strip())[0]
    if name:
        declared.add("debhelper" if name == "debhelper-compat" else name)
listed = set(sys.argv[1].split())
for name in sorted(declared - listed):
    print(f"  {name}: in debian/control's Build-Depends, not in PACKAGE_BUILD_DEPENDS")
for name in sorted(listed - declared):
    print(f"  {name}: in PACKAGE_BUILD_DEPENDS, not in debian/control's Build-Depends")
sys.exit(declared != listed)
EOF
    status=1
    echo "lint: debian/control and scripts/packages.sh disagree on what the package build needs:"
    cat "$work/depends.txt"
  fi
fi

# The build's sources, without what the build generates: cppcheck's --project cannot exclude
# files, so it gets a compile database of its own.
python3 - "$build" "$root" "$work" <<'EOF'
import json, os, sys
build, root, work = sys.argv[1:]
with open(os.path.join(build, "compile_commands.json")) as f:
    entries = json.load(f)
kept, files = [], []
for e in entries:
    path = os.path.normpath(os.path.join(e.get("directory", ""), e["file"]))
    inside = path.startswith(root + os.sep)
    generated = path.startswith(build + os.sep) or path.startswith(os.path.join(root, "build") + os.sep)
    if not inside or generated or not os.path.isfile(path):
        continue
    kept.append(e)
    if path not in files:
        files.append(path)
os.makedirs(os.path.join(work, "db"))
with open(os.path.join(work, "db", "compile_commands.json"), "w") as f:
    json.dump(kept, f)
with open(os.path.join(work, "units.txt"), "w") as f:
    f.write("".join(os.path.relpath(p, root) + "\n" for p in files))
EOF
mapfile -t units <"$work/units.txt"

# --- cppcheck -----------------------------------------------------------------------------------
step=$SECONDS
if ! cppcheck --project="$work/db/compile_commands.json" --std=c++20 \
  --enable=warning,performance,portability --inline-suppr --error-exitcode=1 -j "$jobs" --quiet \
  --library=googletest --library=sdl --library=cairo --library=posix \
  --suppress='*:/usr/include/*' --relative-paths="$root" \
  --template='{file}:{line}:{column}: {severity} [{id}] {message}' 2>"$work/cppcheck.txt"; then
  status=1
  echo "lint: cppcheck found these (mend them, or suppress one inline with its reason:"
  echo "      // cppcheck-suppress ID ; why it is wrong here):"
  sed 's/^/  /' "$work/cppcheck.txt"
fi
echo "lint: cppcheck checked ${#units[@]} sources in $((SECONDS - step)) s"

# --- clang-tidy ---------------------------------------------------------------------------------
changedFiles() {
  [[ $inGit == 1 ]] && git rev-parse --verify -q HEAD >/dev/null || return 0
  local base=""
  if git rev-parse --verify -q origin/main >/dev/null; then
    base=$(git merge-base HEAD origin/main 2>/dev/null || true)
  fi
  if [[ -z $base ]] && git rev-parse --verify -q HEAD~1 >/dev/null; then base=HEAD~1; fi
  [[ -n $base ]] || base=HEAD
  git diff --name-only --diff-filter=d "$base" --
  git ls-files -o --exclude-standard
}

# The build's source that lets clang-tidy see a file, or nothing when the build has none. A
# header goes through its own .cpp, else the first source that includes it, else the first
# source that includes a header including it (a few levels deep).
# One grep reads the files in the order given and names those that include the file, so the
# first one named is the first in that order.
includers() {
  local f=$1
  shift
  [[ $# -gt 0 ]] || return 0
  grep -lsF -e "#include \"$f\"" -- "$@" || true
}

unitFor() {
  local f=$1 depth=${2:-0} u h
  local -a headers=()
  case $f in
    *.cpp) for u in "${units[@]}"; do [[ $u == "$f" ]] && echo "$u" && return; done ;;
    *.h)
      for u in "${units[@]}"; do [[ $u == "${f%.h}.cpp" ]] && echo "$u" && return; done
      u=$(includers "$f" "${units[@]}" | head -n1)
      [[ -n $u ]] && echo "$u" && return
      [[ $depth -lt 3 ]] || return 0
      for h in "${sources[@]}"; do [[ $h == *.h && $h != "$f" ]] && headers+=("$h"); done
      while IFS= read -r h; do
        u=$(unitFor "$h" $((depth + 1)))
        [[ -n $u ]] && echo "$u" && return
      done < <(includers "$f" "${headers[@]}") ;;
  esac
  return 0
}

step=$SECONDS
targets=()
if [[ ${FRUVANA_LONG:-0} == 1 ]]; then
  scope="the whole tree (FRUVANA_LONG=1)"
  targets=("${units[@]}")
else
  mapfile -t changed < <(changedFiles 2>/dev/null | sort -u)
  checksChanged=0
  for f in "${changed[@]}"; do [[ $f == .clang-tidy ]] && checksChanged=1; done
  if [[ $checksChanged == 1 ]]; then
    scope="the whole tree (.clang-tidy changed)"
    targets=("${units[@]}")
  else
    declare -A chosen=()
    for f in "${changed[@]}"; do
      [[ -f $f ]] || continue
      u=$(unitFor "$f")
      [[ -n $u && -z ${chosen[$u]:-} ]] && chosen[$u]=1 && targets+=("$u")
    done
    scope="${#targets[@]} source(s) a change touches"
    if [[ ${#targets[@]} -eq 0 ]]; then
      scope="every source outside tests/ and bench/ (no change to look at)"
      for u in "${units[@]}"; do
        [[ $u == tests/* || $u == bench/* ]] || targets+=("$u")
      done
    fi
  fi
fi

mkdir -p "$work/tidy"
if [[ ${#targets[@]} -gt 0 ]]; then
  # One clang-tidy per source, each into its own log so parallel reports never interleave.
  # shellcheck disable=SC2016  # the inner shell expands its own arguments
  printf '%s\0' "${targets[@]}" | xargs -0 -r -n 1 -P "$jobs" sh -c '
    log="$2/tidy/$(printf "%s" "$3" | tr / _).log"
    clang-tidy -p "$1" --quiet "$3" >"$log" 2>&1 || echo "$3" >>"$2/tidy-failed"
  ' tidy "$build" "$work"
fi
if [[ -s $work/tidy-failed ]]; then
  status=1
  echo "lint: clang-tidy found these (mend them, or silence one with // NOLINTNEXTLINE(check)"
  echo "      under a comment that says why it is wrong here):"
  while IFS= read -r u; do
    grep -vE '^[0-9]+ (warning|error)s?( and [0-9]+ errors?)? (generated|treated as errors)' \
      "$work/tidy/$(printf '%s' "$u" | tr / _).log" | sed 's/^/  /'
  done < <(sort -u "$work/tidy-failed")
fi
echo "lint: clang-tidy checked $scope in $((SECONDS - step)) s"

if [[ $status -ne 0 ]]; then
  echo "lint: FAILED after $((SECONDS - started)) s"
else
  echo "lint: clean in $((SECONDS - started)) s"
fi
exit "$status"
