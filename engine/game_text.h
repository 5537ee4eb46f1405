#pragma once
// A text the player reads, as the engine hands it over: its English words, which are also its
// key in the game's translation catalogues, and the values its "%s" conversions take. The
// screen looks the words up in the player's language and fills the values in; a translation
// may put them in another order ("%2$s ... %1$s").

#include <array>
#include <string>
#include <string_view>
#include <utility>

namespace fruvana {

// Marks an English text for the catalogues: the extraction tool collects every text given to
// it, and the screen translates it when it shows it.
constexpr std::string_view translatable(std::string_view english) {
    return english;
}

struct GameText {
    // A fixed text converts quietly.
    GameText(std::string_view words) : format(words) {}  // NOLINT(google-explicit-constructor)
    GameText(const char* words) : format(words) {}       // NOLINT(google-explicit-constructor)
    GameText(std::string_view words, std::array<std::string, 3> filling)
        : format(words), values(std::move(filling)) {}

    std::string_view format;            // the English words, with "%s" where a value goes
    std::array<std::string, 3> values;  // the values in the order of the English words

    // The words with the values filled in, in the given words (the English ones or their
    // translation, which takes the same conversions).
    std::string filledIn(std::string_view words) const;
    std::string english() const { return filledIn(format); }
    friend bool operator==(const GameText& a, const GameText& b) {
        return a.english() == b.english();
    }
};

}  // namespace fruvana
