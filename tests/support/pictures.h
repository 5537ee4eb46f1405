#pragma once
// Pictures for tests: the game's own from the catalogue, the box a drawing's ink fills, and the
// figures a meter shows, read back from any picture cell by cell against the digit picture.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/picture.h"
#include "platform/platform.h"
#include "presentation/asset_catalogue.h"
#include "presentation/meters.h"

namespace fruvana::testing {

// The picture of that kind and name, or an empty one when the catalogue has none.
inline Picture assetPicture(AssetKind kind, std::string_view name) {
    auto bytes = findAsset(kind, name);
    auto p = bytes ? loadBmp(*bytes) : std::nullopt;
    return p ? std::move(*p) : Picture();
}
inline Picture gamePicture(std::string_view name) {
    return assetPicture(AssetKind::GamePicture, name);
}

// The box round the pixels of an area that differ from its background (right and bottom
// inclusive); nothing differs when right is negative.
struct Ink {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    bool any() const { return right >= 0; }
};

inline Ink inkIn(const Picture& p, const Rect& area, Rgb background) {
    Ink ink;
    for (int y = area.y; y < area.y + area.h; ++y) {
        for (int x = area.x; x < area.x + area.w; ++x) {
            if (p.pixel(x, y) == background) continue;
            ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x),
                   std::max(ink.bottom, y)};
        }
    }
    return ink;
}

// The meter of that many cells at (left, top): a digit per cell, '.' for an empty cell and '?'
// for anything else, or "outside" when the meter does not lie in the picture.
inline std::string readMeter(const Picture& picture, int left, int top, int digits) {
    // Each cell as a meter shows it: the digit's pixels over the ground, pure black letting the
    // ground through; [10] is the empty cell.
    static const std::array<Picture, 11> kCells = [] {
        const Picture digits = gamePicture("digits");
        std::array<Picture, 11> cells;
        for (int d = 0; d <= 10; ++d) {
            Picture cell(kDigitWidth, kDigitHeight);
            for (int y = 0; y < kDigitHeight; ++y) {
                for (int x = 0; x < kDigitWidth; ++x) {
                    const Rgb z = d < 10 ? digits.pixel(kDigitWidth * d + x, y) : Rgb{0, 0, 0};
                    cell.setPixel(x, y, z == Rgb{0, 0, 0} ? kMeterBackground : z);
                }
            }
            cells[static_cast<std::size_t>(d)] = std::move(cell);
        }
        return cells;
    }();
    if (left < 0 || top < 0 || left + digits * kDigitWidth > picture.width() ||
        top + kDigitHeight > picture.height())
        return "outside";
    auto sameCell = [&](int x, const Picture& cell) {
        constexpr auto kRowBytes = std::size_t{kDigitWidth} * Picture::kBytesPerPixel;
        for (int row = 0; row < kDigitHeight; ++row) {
            const std::uint8_t* at =
                picture.row(top + row) + static_cast<std::size_t>(x) * Picture::kBytesPerPixel;
            if (std::memcmp(at, cell.row(row), kRowBytes) != 0) return false;
        }
        return true;
    };
    std::string shown;
    for (int k = 0; k < digits; ++k) {
        char c = '?';
        for (int d = 0; d <= 10 && c == '?'; ++d) {
            if (sameCell(left + k * kDigitWidth, kCells[static_cast<std::size_t>(d)]))
                c = d < 10 ? static_cast<char>('0' + d) : '.';
        }
        shown += c;
    }
    return shown;
}

// A value as a meter of that many cells shows it: right-aligned, empty cells before it.
inline std::string meterText(std::int64_t value, int digits) {
    const std::string figures = std::to_string(value);
    const auto cells = static_cast<std::size_t>(digits);
    return std::string(cells - std::min(figures.size(), cells), '.') + figures;
}

}  // namespace fruvana::testing
