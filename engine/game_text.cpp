#include "engine/game_text.h"

namespace fruvana {

// Only "%s", "%1$s" to "%3$s" and "%%" are read: a translation is data, so a conversion it
// has no value for (or any other directive) stays as written instead of reading past the
// values.
std::string GameText::filledIn(std::string_view words) const {
    std::string out;
    std::size_t next = 0;  // the value a plain "%s" takes
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string_view rest = words.substr(i);
        if (rest.starts_with("%%")) {
            out += '%';
            ++i;
        } else if (rest.starts_with("%s") && next < values.size()) {
            out += values[next++];
            ++i;
        } else if (rest.size() >= 4 && rest[0] == '%' && rest[1] >= '1' && rest[1] <= '3' &&
                   rest.substr(2, 2) == "$s") {
            out += values[static_cast<std::size_t>(rest[1] - '1')];
            i += 3;
        } else {
            out += words[i];
        }
    }
    return out;
}

}  // namespace fruvana
