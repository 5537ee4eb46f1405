#pragma once
// The seven meters drawn from the digit picture: right-aligned orange digits with
// their shadow on a dark blue ground, no leading zeros, no separators.

#include <cstdint>

#include "engine/services.h"
#include "platform/picture.h"

namespace fruvana {

inline constexpr int kDigitWidth = 13;
inline constexpr int kDigitHeight = 18;
inline constexpr Rgb kMeterBackground{15, 50, 84};

class MeterPainter {
  public:
    // Copies the digit picture (ten 13 x 18 digits side by side) once; later changes to it do not
    // matter.
    explicit MeterPainter(const Picture& digits);

    // Draws value into meter (digits x 13 by 18 pixels; made that size if it is not).
    // A value below 0 or with more figures than the meter has digits leaves it unchanged and
    // returns false. Only 2, 4 and 7 digits are meters of the game; other counts are refused.
    bool draw(std::int32_t value, Picture& meter, int digits);

  private:
    Picture digits_;
};

}  // namespace fruvana
