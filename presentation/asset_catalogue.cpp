#include "presentation/asset_catalogue.h"

#include "platform/platform.h"

namespace fruvana {

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

std::optional<Picture> loadPicture(AssetKind kind, std::string_view name, std::string& error) {
    const auto image = findAsset(kind, name);
    if (!image) {
        error = "the picture " + std::string(name) + " is missing";
        return std::nullopt;
    }
    std::string why;
    std::optional<Picture> loaded = loadBmp(*image, &why);
    if (!loaded) error = "the picture " + std::string(name) + " cannot be loaded: " + why;
    return loaded;
}

}  // namespace fruvana
