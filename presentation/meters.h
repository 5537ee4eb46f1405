#pragma once
// The seven meters drawn from the digit pictures of `zece`: right-aligned orange digits with
// their shadow on a dark blue ground, no leading zeros, no separators.

#include <cstdint>
#include <vector>

#include "platform/picture.h"

namespace fruvana {

inline constexpr int kDigitWidth = 13;
inline constexpr int kDigitHeight = 18;
inline constexpr Rgb kMeterBackground{15, 50, 84};

class MeterPainter {
  public:
    // Copies the digit pixels of `zece` (130 x 18) once; later changes to it do not matter.
    explicit MeterPainter(const Picture& zece);

    // Draws value into meter (digits x 13 by 18 pixels; made that size if it is not).
    // A value below 0 or with more figures than the meter has digits leaves it unchanged and
    // returns false. Only 2, 4 and 7 digits are meters of the game; other counts are refused.
    bool nr(std::int32_t value, Picture& meter, int digits);

  private:
    // 130 columns x 18 rows, three bytes a pixel in the pictures' own order, and whether each
    // pixel is drawn (anything but pure black).
    std::vector<std::uint8_t> digitCells_;
    std::vector<std::uint8_t> drawn_;
    Picture meterScratch_;
};

}  // namespace fruvana
