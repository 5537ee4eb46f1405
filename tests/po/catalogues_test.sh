#!/usr/bin/env bash
# The translation catalogues against the sources: the committed template holds exactly the
# texts that the sources, the menu entry and the metadata mark, and every language translates
# each of them, none missing and none left fuzzy. Usage: catalogues_test.sh SOURCE_ROOT
set -euo pipefail
src=$(cd "$1" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$src/po/update.sh" "$tmp/fruvana.pot"
status=0
msgcmp --use-untranslated "$src/po/fruvana.pot" "$tmp/fruvana.pot" ||
  { echo "po/fruvana.pot lacks texts the sources mark: run po/update.sh"; status=1; }
msgcmp --use-untranslated "$tmp/fruvana.pot" "$src/po/fruvana.pot" ||
  { echo "po/fruvana.pot holds texts no source marks: run po/update.sh"; status=1; }
for language in $(grep -v '^#' "$src/po/LINGUAS"); do
  msgcmp "$src/po/$language.po" "$tmp/fruvana.pot" ||
    { echo "po/$language.po does not translate every text"; status=1; }
  counts=$(msgfmt --check --statistics -o /dev/null "$src/po/$language.po" 2>&1)
  if [[ $counts == *fuzzy* || $counts == *untranslated* ]]; then
    echo "po/$language.po: $counts"
    status=1
  fi
done
exit "$status"
