// Bitmap images in memory, read and written with SDL's own bitmap code.
#include <climits>
#include <cstring>

#include "platform/platform.h"
#include "platform/sdl_handles.h"

namespace fruvana {

sdl::RwPtr sdl::readMemory(const void* data, std::size_t size) {
    if (data == nullptr || size == 0 || size > static_cast<std::size_t>(INT_MAX)) return nullptr;
    return RwPtr(SDL_RWFromConstMem(data, static_cast<int>(size)));
}

std::optional<Picture> loadBmp(std::span<const std::uint8_t> image) {
    sdl::RwPtr rw = sdl::readMemory(image.data(), image.size());
    if (!rw) return std::nullopt;
    sdl::SurfacePtr loaded(SDL_LoadBMP_RW(rw.get(), 0));
    if (!loaded) return std::nullopt;
    // Pictures keep blue, green, red bytes, which SDL calls BGR24.
    sdl::SurfacePtr converted(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_BGR24, 0));
    if (!converted) return std::nullopt;
    Picture picture(converted->w, converted->h);
    if (picture.empty() || picture.width() != converted->w) return std::nullopt;
    if (SDL_LockSurface(converted.get()) != 0) return std::nullopt;
    const auto* pixels = static_cast<const std::uint8_t*>(converted->pixels);
    const std::size_t rowBytes =
        static_cast<std::size_t>(picture.width()) * Picture::kBytesPerPixel;
    for (int y = 0; y < picture.height(); ++y) {
        std::memcpy(picture.row(y), pixels + static_cast<std::size_t>(y) * converted->pitch,
                    rowBytes);
    }
    SDL_UnlockSurface(converted.get());
    return picture;
}

std::vector<std::uint8_t> saveBmp(const Picture& picture) {
    if (picture.empty()) return {};
    sdl::SurfacePtr surface(SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<std::uint8_t*>(picture.data()), picture.width(), picture.height(), 24,
        picture.pitch(), SDL_PIXELFORMAT_BGR24));
    if (!surface) return {};
    // Room for the largest header SDL writes plus the padded rows.
    constexpr std::size_t kHeaderRoom = 256;
    std::vector<std::uint8_t> out(kHeaderRoom +
                                  static_cast<std::size_t>(picture.pitch()) * picture.height());
    if (out.size() > static_cast<std::size_t>(INT_MAX)) return {};
    sdl::RwPtr rw(SDL_RWFromMem(out.data(), static_cast<int>(out.size())));
    if (!rw || SDL_SaveBMP_RW(surface.get(), rw.get(), 0) != 0) return {};
    const Sint64 written = SDL_RWtell(rw.get());
    if (written <= 0) return {};
    out.resize(static_cast<std::size_t>(written));
    return out;
}

}  // namespace fruvana
