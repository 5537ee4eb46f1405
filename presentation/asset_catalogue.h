#pragma once
// The game's pictures and sounds, built into the program file: every one is found by its
// catalogue name as the bytes of a complete BMP or WAV image.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/picture.h"

namespace fruvana {

enum class AssetKind : std::uint8_t {
    GamePicture,         // pictures of the game window (assets/game)
    SettingsPicture,     // pictures of the settings window (assets/settings)
    RecallPicture,       // pictures of the game recall (assets/recall)
    PreferencesPicture,  // pictures of the preferences screen and the reality check
    Sound,               // sounds (assets/sounds)
    Icon,                // the window's icon (assets/icons)
    // A part of a picture in another language (assets/translated/<language>), named
    // <language>/<folder>-<picture>-<x>-<y> for the picture and the place it covers.
    TranslatedPart,
};

struct EmbeddedAsset {
    AssetKind kind;
    std::string_view name;
    const std::uint8_t* begin;
    const std::uint8_t* end;

    std::span<const std::uint8_t> bytes() const {
        return {begin, static_cast<std::size_t>(end - begin)};
    }
};

// The image of the asset with this kind and name, or nothing when there is none.
std::optional<std::span<const std::uint8_t>> findAsset(AssetKind kind, std::string_view name);

// The language of the pictures loaded from now on ("de"): each takes the parts its words change
// in that language. Empty, or a language without parts: the English pictures.
void usePictureLanguage(std::string_view language);

// The picture of that kind and name, loaded, in the pictures' language; nothing, with a one-line
// reason in error, when the catalogue has no such picture or its bytes cannot be read.
std::optional<Picture> loadPicture(AssetKind kind, std::string_view name, std::string& error);

// Draws over picture each translated part among parts named prefix + "<x>-<y>", with its
// top-left corner on (x, y); other names are passed over. A part whose bytes cannot be read is
// left out with one line on stderr naming it and saying why, and the rest are still drawn.
void drawPictureParts(Picture& picture, std::string_view prefix,
                      std::span<const EmbeddedAsset> parts);

// Every embedded asset, in the order of kind and then name.
std::span<const EmbeddedAsset> embeddedAssets();

}  // namespace fruvana
