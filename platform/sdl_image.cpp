// Bitmap images in memory, read and written with SDL's own bitmap code.
#include <climits>
#include <cstring>
#include <string>

#include "platform/platform.h"
#include "platform/sdl_handles.h"

namespace fruvana {

sdl::RwPtr sdl::readMemory(const void* data, std::size_t size, std::string& problem) {
    if (data == nullptr || size == 0) {
        problem = "the image is empty";
        return nullptr;
    }
    if (size > static_cast<std::size_t>(INT_MAX)) {
        problem = "the image is too large (" + std::to_string(size) + " bytes)";
        return nullptr;
    }
    return RwPtr(require(SDL_RWFromConstMem(data, static_cast<int>(size)),
                         "the image cannot be read", problem));
}

namespace {

// The n-byte little-endian number at offset at; the caller makes sure the bytes are there.
std::uint32_t littleEndian(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t n) {
    std::uint32_t value = 0;
    for (std::size_t b = 0; b < n; ++b) value |= std::uint32_t{bytes[at + b]} << (8 * b);
    return value;
}

// Why SDL refused a bitmap, judged from its headers, SDL's own words after it: SDL's words
// alone differ from one fault to the next and do not always name the fault.
std::string bmpFault(std::span<const std::uint8_t> image) {
    constexpr std::size_t kFileHeader = 14;
    if (image.size() >= 2 && (image[0] != 'B' || image[1] != 'M'))
        return sdl::failure("not a BMP image");
    const std::string truncated =
        "truncated BMP header (" + std::to_string(image.size()) + " bytes)";
    if (image.size() < kFileHeader + 4) return sdl::failure(truncated);
    const std::uint32_t infoSize = littleEndian(image, kFileHeader, 4);
    if (image.size() - kFileHeader < infoSize) return sdl::failure(truncated);
    // The bits per pixel follow 16-bit sizes in the old 12-byte header, 32-bit ones otherwise.
    const std::size_t bitsAt = infoSize == 12 ? 24 : 28;
    if (image.size() >= bitsAt + 2) {
        const std::uint32_t bits = littleEndian(image, bitsAt, 2);
        if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16 && bits != 24 &&
            bits != 32) {
            return sdl::failure("unsupported BMP bit depth (" + std::to_string(bits) +
                                " bits per pixel)");
        }
    }
    return sdl::failure("damaged BMP image");
}

std::optional<Picture> readBmp(std::span<const std::uint8_t> image, std::string& problem) {
    sdl::RwPtr rw = sdl::readMemory(image.data(), image.size(), problem);
    if (!rw) return std::nullopt;
    sdl::SurfacePtr loaded(SDL_LoadBMP_RW(rw.get(), 0));
    if (!loaded) {
        problem = bmpFault(image);
        return std::nullopt;
    }
    // Pictures keep blue, green, red bytes, which SDL calls BGR24.
    sdl::SurfacePtr converted(
        sdl::require(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_BGR24, 0),
                     "the image cannot be converted to 24-bit colour", problem));
    if (!converted) return std::nullopt;
    Picture picture(converted->w, converted->h);
    if (picture.empty() || picture.width() != converted->w) {
        problem = "the image's size (" + std::to_string(converted->w) + "x" +
                  std::to_string(converted->h) + ") is beyond what a picture can hold";
        return std::nullopt;
    }
    if (!sdl::require(SDL_LockSurface(converted.get()), "the image's pixels cannot be read",
                      problem)) {
        return std::nullopt;
    }
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

// The picture as a 24-bit BMP image; empty, with problem set, when SDL cannot write it.
std::vector<std::uint8_t> writeBmp(const Picture& picture, std::string& problem) {
    sdl::SurfacePtr surface(
        sdl::require(SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint8_t*>(picture.data()),
                                                        picture.width(), picture.height(), 24,
                                                        picture.pitch(), SDL_PIXELFORMAT_BGR24),
                     "the picture cannot be handed to SDL", problem));
    if (!surface) return {};
    // Room for the largest header SDL writes plus the padded rows.
    constexpr std::size_t kHeaderRoom = 256;
    std::vector<std::uint8_t> out(kHeaderRoom +
                                  static_cast<std::size_t>(picture.pitch()) * picture.height());
    if (out.size() > static_cast<std::size_t>(INT_MAX)) {
        problem = "the picture is too large for a BMP image";
        return {};
    }
    sdl::RwPtr rw(sdl::require(SDL_RWFromMem(out.data(), static_cast<int>(out.size())),
                               "no memory to write the image into", problem));
    if (!rw || !sdl::require(SDL_SaveBMP_RW(surface.get(), rw.get(), 0),
                             "SDL cannot write the image", problem)) {
        return {};
    }
    const Sint64 written = SDL_RWtell(rw.get());
    if (written <= 0) {
        problem = sdl::failure("SDL wrote no image");
        return {};
    }
    out.resize(static_cast<std::size_t>(written));
    return out;
}

}  // namespace

std::optional<Picture> loadBmp(std::span<const std::uint8_t> image, std::string* why) {
    std::string problem;
    std::optional<Picture> picture = readBmp(image, problem);
    if (!picture && why != nullptr) *why = std::move(problem);
    return picture;
}

std::vector<std::uint8_t> saveBmp(const Picture& picture, std::string* why) {
    std::string problem = "the picture is empty";
    std::vector<std::uint8_t> out;
    if (!picture.empty()) out = writeBmp(picture, problem);
    if (out.empty() && why != nullptr) *why = std::move(problem);
    return out;
}

}  // namespace fruvana
