#pragma once
// Pictures for tests: the game's own from the catalogue, and the figures a meter shows.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/picture.h"
#include "platform/platform.h"
#include "presentation/asset_catalogue.h"
#include "presentation/meters.h"

namespace fruvana::testing {

inline Picture gamePicture(std::string_view name) {
    auto bytes = findAsset(AssetKind::GamePicture, name);
    auto p = bytes ? loadBmp(*bytes) : std::nullopt;
    EXPECT_TRUE(p) << name;
    return p ? std::move(*p) : Picture();
}

// The digits a meter shows, read back cell by cell against the digit pictures; '.' for an
// empty cell of plain background.
inline std::string readMeter(const Picture& meter, const Picture& digitPicture, int digits) {
    std::string shown;
    for (int k = 0; k < digits; ++k) {
        char found = '?';
        bool empty = true;
        for (int y = 0; y < 18 && empty; ++y)
            for (int x = 0; x < 13 && empty; ++x)
                empty = meter.pixel(13 * k + x, y) == kMeterBackground;
        if (empty) found = '.';
        for (int d = 0; d < 10 && found == '?'; ++d) {
            bool same = true;
            for (int y = 0; y < 18 && same; ++y) {
                for (int x = 0; x < 13 && same; ++x) {
                    const Rgb z = digitPicture.pixel(13 * d + x, y);
                    const Rgb want = z.r + z.g + z.b > 0 ? z : kMeterBackground;
                    same = meter.pixel(13 * k + x, y) == want;
                }
            }
            if (same) found = static_cast<char>('0' + d);
        }
        shown += found;
    }
    return shown;
}

}  // namespace fruvana::testing
