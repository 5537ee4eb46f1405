#include "presentation/translation.h"

#include <libintl.h>

#include <clocale>
#include <cstdlib>

#include "presentation/asset_catalogue.h"

namespace fruvana {
namespace {
constexpr const char* kDomain = "fruvana";

const char* firstSet(std::initializer_list<const char*> names) {
    for (const char* name : names) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return value;
    }
    return nullptr;
}
}  // namespace

void startTranslations(const std::string& folder) {
    if (std::setlocale(LC_MESSAGES, "") == nullptr) {
        // The desktop names a locale this system has not generated, and the catalogues would
        // never be asked. Messages in the UTF-8 C locale still honour LANGUAGE, so the
        // desktop's language goes there when the player did not set LANGUAGE themselves.
        std::setlocale(LC_MESSAGES, "C.UTF-8");
        const char* language = firstSet({"LC_ALL", "LC_MESSAGES", "LANG"});
        if (language != nullptr && firstSet({"LANGUAGE"}) == nullptr)
            setenv("LANGUAGE", language, 1);
    }
    bindtextdomain(kDomain, folder.c_str());
    bind_textdomain_codeset(kDomain, "UTF-8");
    textdomain(kDomain);
    usePictureLanguage(translationLanguage());
}

std::string translationLanguage() {
    // The empty key fetches the header of the catalogue in use, or itself when none is.
    const std::string header = dgettext(kDomain, "");
    const std::string field = "Language: ";
    const std::size_t at = header.find(field);
    if (at == std::string::npos) return {};
    const std::size_t from = at + field.size();
    return header.substr(from, header.find('\n', from) - from);
}

const char* tr(const char* english) {
    return dgettext(kDomain, english);
}

std::string tr(std::string_view english) {
    // An empty key would fetch the catalogue's header.
    if (english.empty()) return {};
    return tr(std::string(english).c_str());
}

std::string trIn(const char* context, const char* english) {
    // A catalogue keys such a text by its context and its words with a 0x04 between them.
    const std::string key = std::string(context) + '\x04' + english;
    const char* found = dgettext(kDomain, key.c_str());
    return found == key.c_str() ? english : found;
}

std::string tr(const GameText& text) {
    return text.filledIn(tr(text.format));
}

}  // namespace fruvana
