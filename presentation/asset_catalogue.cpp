#include "presentation/asset_catalogue.h"

#include <charconv>
#include <cstdio>

#include "platform/platform.h"

namespace fruvana {

namespace {

std::string pictureLanguage;

std::string_view folderOf(AssetKind kind) {
    switch (kind) {
        case AssetKind::GamePicture:
            return "game";
        case AssetKind::SettingsPicture:
            return "settings";
        case AssetKind::RecallPicture:
            return "recall";
        case AssetKind::PreferencesPicture:
            return "preferences";
        default:
            return {};
    }
}

// Draws over picture every part its words change in the pictures' language.
void translate(Picture& picture, AssetKind kind, std::string_view name) {
    if (pictureLanguage.empty() || folderOf(kind).empty()) return;
    const std::string prefix =
        pictureLanguage + "/" + std::string(folderOf(kind)) + "-" + std::string(name) + "-";
    drawPictureParts(picture, prefix, embeddedAssets());
}

}  // namespace

void usePictureLanguage(std::string_view language) {
    pictureLanguage = language;
}

namespace detail {
// Defined in the source the build generates from the files in assets/.
extern const EmbeddedAsset kEmbeddedAssets[];
extern const std::size_t kEmbeddedAssetCount;
}  // namespace detail

std::span<const EmbeddedAsset> embeddedAssets() {
    return {detail::kEmbeddedAssets, detail::kEmbeddedAssetCount};
}

std::optional<std::span<const std::uint8_t>> findAsset(AssetKind kind, std::string_view name) {
    for (const EmbeddedAsset& asset : embeddedAssets())
        if (asset.kind == kind && asset.name == name) return asset.bytes();
    return std::nullopt;
}

void drawPictureParts(Picture& picture, std::string_view prefix,
                      std::span<const EmbeddedAsset> parts) {
    for (const EmbeddedAsset& part : parts) {
        if (part.kind != AssetKind::TranslatedPart || !part.name.starts_with(prefix)) continue;
        // The place follows the prefix as "<x>-<y>"; any other name is a part of another
        // picture whose name starts the same way.
        const std::string_view place = part.name.substr(prefix.size());
        int x = 0, y = 0;
        const char* end = place.data() + place.size();
        const auto [dash, xError] = std::from_chars(place.data(), end, x);
        if (xError != std::errc() || dash == end || *dash != '-') continue;
        const auto [rest, yError] = std::from_chars(dash + 1, end, y);
        if (yError != std::errc() || rest != end) continue;
        // Deliberate: a part that cannot be read leaves the English words in its place rather
        // than stopping the game; the terminal learns which part and why.
        std::string why;
        if (const std::optional<Picture> pixels = loadBmp(part.bytes(), &why)) {
            blit(*pixels, picture, x, y);
        } else {
            std::fprintf(stderr, "Fruvana: the picture part %s is left out: %s\n",
                         std::string(part.name).c_str(), why.c_str());
        }
    }
}

std::optional<Picture> loadPicture(AssetKind kind, std::string_view name, std::string& error) {
    const auto image = findAsset(kind, name);
    if (!image) {
        error = "the picture " + std::string(name) + " is missing";
        return std::nullopt;
    }
    std::string why;
    std::optional<Picture> loaded = loadBmp(*image, &why);
    if (!loaded) {
        error = "the picture " + std::string(name) + " cannot be loaded: " + why;
        return loaded;
    }
    translate(*loaded, kind, name);
    return loaded;
}

}  // namespace fruvana
