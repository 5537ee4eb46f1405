#include "presentation/meters.h"

namespace fruvana {

namespace {

constexpr int kDigitsWide = 10 * kDigitWidth;

// The largest value a meter of this many digits shows; 0 for a count no meter has.
std::int32_t meterLimit(int digits) {
    switch (digits) {
        case 2:
            return 99;
        case 4:
            return 9999;
        case 7:
            return 9'999'999;
        default:
            return 0;
    }
}

}  // namespace

MeterPainter::MeterPainter(const Picture& zece)
    : digitCells_(static_cast<std::size_t>(kDigitsWide * kDigitHeight)),
      meterScratch_(kDigitsWide, kDigitHeight) {
    for (int y = 0; y < kDigitHeight && y < zece.height(); ++y)
        for (int x = 0; x < kDigitsWide && x < zece.width(); ++x)
            digitCells_[static_cast<std::size_t>(y * kDigitsWide + x)] = zece.pixel(x, y);
}

bool MeterPainter::nr(std::int32_t value, Picture& meter, int digits) {
    const std::int32_t limit = meterLimit(digits);
    if (limit == 0 || value < 0 || value > limit) return false;
    meterScratch_.fill(kMeterBackground);
    int slot = digits;
    do {
        const int d = value % 10;
        for (int y = 0; y < kDigitHeight; ++y) {
            for (int x = 0; x < kDigitWidth; ++x) {
                const Rgb p = digitCells_[static_cast<std::size_t>(y * kDigitsWide + 13 * d + x)];
                // Only pure black lets the ground show; a near-black shadow pixel is kept.
                if (p.r + p.g + p.b > 0) meterScratch_.setPixel(13 * (slot - 1) + x, y, p);
            }
        }
        value /= 10;
        --slot;
    } while (value != 0);
    if (meter.width() != digits * kDigitWidth || meter.height() != kDigitHeight)
        meter = Picture(digits * kDigitWidth, kDigitHeight);
    blit(meterScratch_, meter, 0, 0);
    return true;
}

}  // namespace fruvana
