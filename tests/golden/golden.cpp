#include "tests/golden/golden.h"

#include <cairo.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string_view>

namespace fruvana::golden {
namespace {

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

std::string describe(Rgb c) {
    return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) +
           ")";
}

std::string sizeOf(const Picture& p) {
    return std::to_string(p.width()) + " x " + std::to_string(p.height());
}

// Where pixel (x, y) starts in a Cairo picture: four bytes a pixel, rows stride bytes apart.
std::ptrdiff_t offsetOf(int x, int y, int stride) {
    return static_cast<std::ptrdiff_t>(y) * stride + static_cast<std::ptrdiff_t>(x) * 4;
}

// A name becomes part of a path: letters, digits, '_' and '-' only, so it stays in its folder.
bool plainName(std::string_view name) {
    if (name.empty()) return false;
    for (const char c : name) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                        (c >= '0' && c <= '9') || c == '_' || c == '-';
        if (!ok) return false;
    }
    return true;
}

// Writes what the test saw beside its log; the sentence the failure message ends with.
std::string keepForLooking(const Picture& picture, const std::string& file) {
    std::string error;
    if (!writePng(picture, file, error)) return " (" + file + " not written: " + error + ")";
    return " " + (std::filesystem::current_path() / file).string();
}

}  // namespace

std::string goldenPath(const std::string& name) {
    return std::string(FRUVANA_GOLDEN_DIR) + "/" + name + ".png";
}

std::optional<Picture> readPng(const std::string& path, std::string& error) {
    const Surface surface(cairo_image_surface_create_from_png(path.c_str()), cairo_surface_destroy);
    const cairo_status_t status = cairo_surface_status(surface.get());
    if (status != CAIRO_STATUS_SUCCESS) {
        error = path + ": " + cairo_status_to_string(status);
        return std::nullopt;
    }
    cairo_surface_flush(surface.get());
    const cairo_format_t format = cairo_image_surface_get_format(surface.get());
    if (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32) {
        error = path + ": not a colour picture";
        return std::nullopt;
    }
    const int w = cairo_image_surface_get_width(surface.get());
    const int h = cairo_image_surface_get_height(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    const unsigned char* data = cairo_image_surface_get_data(surface.get());
    Picture picture(w, h);
    if (picture.width() != w || picture.height() != h || data == nullptr) {
        error = path + ": a picture of " + std::to_string(w) + " x " + std::to_string(h);
        return std::nullopt;
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            // Cairo keeps a pixel as one native 32-bit word, alpha in the top byte.
            std::uint32_t v = 0;
            std::memcpy(&v, data + offsetOf(x, y, stride), sizeof v);
            if (format == CAIRO_FORMAT_ARGB32 && (v >> 24) != 0xff) {
                error = path + ": see-through pixel at (" + std::to_string(x) + ", " +
                        std::to_string(y) + ")";
                return std::nullopt;
            }
            picture.setPixel(x, y,
                             {static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
                              static_cast<std::uint8_t>(v)});
        }
    }
    return picture;
}

bool writePng(const Picture& picture, const std::string& path, std::string& error) {
    if (picture.empty()) {
        error = "an empty picture";
        return false;
    }
    const Surface surface(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, picture.width(), picture.height()),
        cairo_surface_destroy);
    cairo_status_t status = cairo_surface_status(surface.get());
    if (status == CAIRO_STATUS_SUCCESS) {
        cairo_surface_flush(surface.get());
        unsigned char* data = cairo_image_surface_get_data(surface.get());
        const int stride = cairo_image_surface_get_stride(surface.get());
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const Rgb c = picture.pixel(x, y);
                const std::uint32_t v =
                    0xff000000u | (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b;
                std::memcpy(data + offsetOf(x, y, stride), &v, sizeof v);
            }
        }
        cairo_surface_mark_dirty(surface.get());
        status = cairo_surface_write_to_png(surface.get(), path.c_str());
    }
    if (status != CAIRO_STATUS_SUCCESS) {
        error = path + ": " + cairo_status_to_string(status);
        return false;
    }
    return true;
}

::testing::AssertionResult matchesGolden(const Picture& picture, const std::string& name) {
    if (!plainName(name))
        return ::testing::AssertionFailure() << "bad golden name '" << name << "'";
    const std::string path = goldenPath(name);
    std::string error;
    const char* update = std::getenv("FRUVANA_UPDATE_GOLDEN");
    if (update != nullptr && std::string_view(update) == "1") {
        if (!writePng(picture, path, error))
            return ::testing::AssertionFailure() << "cannot update " << error;
        return ::testing::AssertionSuccess() << "updated " << path;
    }
    const std::string actual = name + ".actual.png";
    const std::optional<Picture> want = readPng(path, error);
    if (!want)
        return ::testing::AssertionFailure()
               << error << " (FRUVANA_UPDATE_GOLDEN=1 makes it); the picture seen is"
               << keepForLooking(picture, actual);
    if (want->width() != picture.width() || want->height() != picture.height())
        return ::testing::AssertionFailure()
               << name << ": " << sizeOf(picture) << " pixels, the golden picture " << sizeOf(*want)
               << "; the picture seen is" << keepForLooking(picture, actual);
    Picture diff(picture.width(), picture.height());
    long differing = 0;
    std::string first;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const Rgb seen = picture.pixel(x, y);
            const Rgb golden = want->pixel(x, y);
            const bool same = seen == golden;
            diff.setPixel(x, y,
                          same ? Rgb{static_cast<std::uint8_t>(seen.r / 4),
                                     static_cast<std::uint8_t>(seen.g / 4),
                                     static_cast<std::uint8_t>(seen.b / 4)}
                               : Rgb{255, 0, 0});
            if (same) continue;
            if (differing++ == 0)
                first = "(" + std::to_string(x) + ", " + std::to_string(y) + ") is " +
                        describe(seen) + ", golden " + describe(golden);
        }
    }
    if (differing == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << name << ": " << differing << " pixels differ from " << path << "; the first at "
           << first << "; see" << keepForLooking(picture, actual) << " and"
           << keepForLooking(diff, name + ".diff.png");
}

}  // namespace fruvana::golden
