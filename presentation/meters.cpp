#include "presentation/meters.h"

#include <algorithm>

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

// Index of pixel (x, y) of the 130 x 18 digit table.
std::size_t cellIndex(int y, int x) {
    return static_cast<std::size_t>(y) * kDigitsWide + static_cast<std::size_t>(x);
}

}  // namespace

MeterPainter::MeterPainter(const Picture& zece)
    : digitCells_(static_cast<std::size_t>(kDigitsWide * kDigitHeight * 3), 0),
      drawn_(static_cast<std::size_t>(kDigitsWide * kDigitHeight), 0),
      meterScratch_(kDigitsWide, kDigitHeight) {
    for (int y = 0; y < kDigitHeight && y < zece.height(); ++y) {
        for (int x = 0; x < kDigitsWide && x < zece.width(); ++x) {
            const std::size_t i = cellIndex(y, x);
            const std::uint8_t* p = zece.row(y) + std::ptrdiff_t{x} * Picture::kBytesPerPixel;
            std::copy(p, p + 3, digitCells_.begin() + static_cast<std::ptrdiff_t>(3 * i));
            // Only pure black lets the ground show; a near-black shadow pixel is kept.
            drawn_[i] = p[0] + p[1] + p[2] > 0 ? 1 : 0;
        }
    }
}

bool MeterPainter::nr(std::int32_t value, Picture& meter, int digits) {
    const std::int32_t limit = meterLimit(digits);
    if (limit == 0 || value < 0 || value > limit) return false;
    // The ground: one row filled, then copied to the others.
    meterScratch_.fill(Rect{0, 0, kDigitsWide, 1}, kMeterBackground);
    for (int y = 1; y < kDigitHeight; ++y)
        std::copy_n(meterScratch_.row(0), kDigitsWide * 3, meterScratch_.row(y));
    int slot = digits;
    do {
        const int d = value % 10;
        for (int y = 0; y < kDigitHeight; ++y) {
            const std::size_t from = cellIndex(y, kDigitWidth * d);
            std::uint8_t* to = meterScratch_.row(y) + std::ptrdiff_t{kDigitWidth} * (slot - 1) * 3;
            for (std::size_t x = 0; x < kDigitWidth; ++x, to += 3) {
                if (drawn_[from + x] == 0) continue;
                const std::uint8_t* p = &digitCells_[3 * (from + x)];
                to[0] = p[0];
                to[1] = p[1];
                to[2] = p[2];
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
