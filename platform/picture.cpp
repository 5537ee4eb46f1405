#include "platform/picture.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace fruvana {

Rect intersect(const Rect& a, const Rect& b) {
    const int left = std::max(a.x, b.x);
    const int top = std::max(a.y, b.y);
    const int right = std::min(a.x + a.w, b.x + b.w);
    const int bottom = std::min(a.y + a.h, b.y + b.h);
    if (right <= left || bottom <= top) return {};
    return {left, top, right - left, bottom - top};
}

Picture::Picture(int width, int height) {
    // Far beyond any screen; refusing it keeps the byte arithmetic below from overflowing.
    constexpr int kLargest = 1 << 15;
    if (width <= 0 || height <= 0 || width > kLargest || height > kLargest) return;
    width_ = width;
    height_ = height;
    pitch_ = (width * kBytesPerPixel + 3) / 4 * 4;
    pixels_.assign(static_cast<std::size_t>(pitch_) * height, 0);
}

Rgb Picture::pixel(int x, int y) const {
    const std::uint8_t* p = row(y) + std::ptrdiff_t{x} * kBytesPerPixel;
    return {p[2], p[1], p[0]};
}

void Picture::setPixel(int x, int y, Rgb colour) {
    std::uint8_t* p = row(y) + std::ptrdiff_t{x} * kBytesPerPixel;
    p[0] = colour.b;
    p[1] = colour.g;
    p[2] = colour.r;
}

void Picture::fill(Rgb colour) {
    fill(bounds(), colour);
}

void Picture::fill(const Rect& area, Rgb colour) {
    const Rect r = intersect(area, bounds());
    for (int y = r.y; y < r.y + r.h; ++y) {
        for (int x = r.x; x < r.x + r.w; ++x) setPixel(x, y, colour);
    }
}

void blit(const Picture& src, const Rect& from, Picture& dst, int x, int y,
          std::optional<Rgb> seeThrough) {
    // Clip the source part to the source, then its landing place to the destination,
    // moving the source corner by as much as the landing place was cut.
    const Rect source = intersect(from, src.bounds());
    if (source.empty()) return;
    x += source.x - from.x;
    y += source.y - from.y;
    const Rect target = intersect({x, y, source.w, source.h}, dst.bounds());
    if (target.empty()) return;
    const int sx = source.x + (target.x - x);
    const int sy = source.y + (target.y - y);
    constexpr int bpp = Picture::kBytesPerPixel;
    // Rows of two pictures never overlap; only a picture copied onto itself needs the slower
    // copy that allows it.
    const bool samePicture = &src == &dst;
    const Rgb key = seeThrough.value_or(Rgb{});
    for (int row = 0; row < target.h; ++row) {
        const std::uint8_t* s = src.row(sy + row) + std::ptrdiff_t{sx} * bpp;
        std::uint8_t* d = dst.row(target.y + row) + std::ptrdiff_t{target.x} * bpp;
        if (!seeThrough) {
            const auto bytes = static_cast<std::size_t>(target.w) * bpp;
            if (samePicture) {
                std::memmove(d, s, bytes);
            } else {
                std::memcpy(d, s, bytes);
            }
            continue;
        }
        for (int col = 0; col < target.w; ++col, s += bpp, d += bpp) {
            if (s[0] == key.b && s[1] == key.g && s[2] == key.r) continue;
            d[0] = s[0];
            d[1] = s[1];
            d[2] = s[2];
        }
    }
}

std::optional<Rgb> bottomLeftColour(const Picture& picture) {
    if (picture.empty()) return std::nullopt;
    return picture.pixel(0, picture.height() - 1);
}

}  // namespace fruvana
