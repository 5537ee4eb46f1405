#include "presentation/meters.h"

namespace fruvana {

MeterPainter::MeterPainter(const Picture& digits) : digits_(digits) {}

bool MeterPainter::draw(std::int32_t value, Picture& meter, int digits) {
    const std::int32_t limit = largestOnMeter(digits);
    if (limit == 0 || value < 0 || value > limit) return false;
    if (meter.width() != digits * kDigitWidth || meter.height() != kDigitHeight)
        meter = Picture(digits * kDigitWidth, kDigitHeight);
    meter.fill(kMeterBackground);
    int slot = digits;
    do {
        // Only pure black lets the ground show; a near-black shadow pixel is kept.
        blit(digits_, Rect{kDigitWidth * (value % 10), 0, kDigitWidth, kDigitHeight}, meter,
             kDigitWidth * (slot - 1), 0, Rgb{0, 0, 0});
        value /= 10;
        --slot;
    } while (value != 0);
    return true;
}

}  // namespace fruvana
