#!/usr/bin/env bash
# Remakes the translation template from the sources, the menu entry and the AppStream
# metadata, then brings every language's catalogue up to date with it. With a file name, it
# only writes the template there (the catalogue check compares it with the committed one).
set -euo pipefail
po=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$po")
template=${1:-$po/fruvana.pot}
cd "$root"
mapfile -t sources < <(grep -rlE '\b(tr|translatable|words)\(' engine grid platform presentation shell \
                         tools/assetgen --include='*.cpp' --include='*.h' |
                         grep -v -e translation -e assetgen/language | sort)
common=(--from-code=UTF-8 --add-location=file --package-name=Fruvana --sort-by-file
        --add-comments=Translators: --output="$template")
xgettext "${common[@]}" --language=C++ --keyword=tr --keyword=trIn:1c,2 --keyword=translatable --keyword=words "${sources[@]}"
xgettext "${common[@]}" --join-existing --language=Desktop packaging/fruvana.desktop.in
its=$(ls /usr/share/gettext-*/its/metainfo.its | head -n 1)  # the gettext package's own rules
xgettext "${common[@]}" --join-existing --its="$its" \
  packaging/fruvana.metainfo.xml.in
sed -i "s/charset=CHARSET/charset=UTF-8/" "$template"
[[ $# -gt 0 ]] && exit 0
for language in $(grep -v '^#' "$po/LINGUAS"); do
  msgmerge --quiet --update --backup=none --no-fuzzy-matching --add-location=file \
    "$po/$language.po" "$template"
done
