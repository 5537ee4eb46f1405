#pragma once
// The game's texts in the player's language. The English words are the keys of the game's
// translation catalogues (one compiled file per language, `<folder>/<lang>/LC_MESSAGES/
// fruvana.mo`); a text no catalogue holds stays English. The language follows the desktop:
// LANGUAGE, LC_ALL, LC_MESSAGES, then LANG.

#include <string>
#include <string_view>

#include "engine/game_text.h"

namespace fruvana {

// Reads the desktop's language and opens the catalogues found under folder; called again, it
// reads the environment afresh.
void startTranslations(const std::string& folder);

// The language of the catalogue the texts come from ("de"), or empty for English.
std::string translationLanguage();

// The text in the player's language. `tr` also marks the English words for the catalogues.
const char* tr(const char* english);
std::string tr(std::string_view english);
std::string tr(const GameText& text);
// The same, for English words that need other words in one place (a narrow column): the
// context tells the two apart in the catalogues.
std::string trIn(const char* context, const char* english);

}  // namespace fruvana
