#include "presentation/reel_animation.h"

#include <algorithm>
#include <cstring>

namespace fruvana {

namespace {

constexpr int kStripCells = 12;
constexpr int kRowBytes = kReelSize * Picture::kBytesPerPixel;

// Source row offset from the symbol's cell of frames 0 to 5 (leaving) and 8 to 13 (arriving).
constexpr std::array<int, kSpinFrames> kRowShift{-1, -2, -4, -6, -9, -12, 0, 0, 11, 8, 5, 3, 1, 0};

// Frame index inside one symbol's block of twelve shaded frames.
constexpr int symbolSlot(int c) {
    return c < 6 ? c : c - 2;
}

bool validSymbol(int s) {
    return s >= 1 && s <= kSymbolCount;
}

// A row of src shaded for window row j into dst (122 pixels); rows outside src are black.
void shadeRow(const Picture& src, int srcRow, int j, std::uint8_t* dst) {
    if (srcRow < 0 || srcRow >= src.height()) {
        std::memset(dst, 0, kRowBytes);
        return;
    }
    const int percent = shadePercent(j);
    const std::uint8_t* in = src.row(srcRow);
    const int bytes = std::min(src.width(), kReelSize) * Picture::kBytesPerPixel;
    for (int i = 0; i < bytes; ++i) dst[i] = static_cast<std::uint8_t>(in[i] * percent / 100);
    std::memset(dst + bytes, 0, static_cast<std::size_t>(kRowBytes - bytes));
}

}  // namespace

ReelShading::ReelShading(const Picture& strip, const Picture& blur1, const Picture& blur2)
    : pitch_(Picture(kReelSize, 1).pitch()),
      frameBytes_(static_cast<std::size_t>(pitch_) * kReelSize) {
    frames_.assign(frameBytes_ * (frameIndex(kSymbolCount, 7) + 1), 0);
    auto build = [&](int symbol, int c, const Picture& src, int firstRow) {
        std::uint8_t* out = frames_.data() + frameIndex(symbol, c) * frameBytes_;
        for (int j = 0; j < kReelSize; ++j)
            shadeRow(src, firstRow + j, j, out + std::ptrdiff_t{j} * pitch_);
    };
    for (int s = 1; s <= kSymbolCount; ++s) {
        for (int c = 0; c < kSpinFrames; ++c) {
            if (c == 6 || c == 7) continue;
            build(s, c, strip, kReelSize * s + kRowShift[static_cast<std::size_t>(c)]);
        }
    }
    build(1, 6, blur1, 0);
    build(1, 7, blur2, 0);
    static_assert(kStripCells * kReelSize == 1464);
}

std::size_t ReelShading::frameIndex(int symbol, int c) {
    // Twelve frames per symbol, then the two blur frames shared by all.
    if (c == 6 || c == 7) return std::size_t{kSymbolCount} * 12 + static_cast<std::size_t>(c - 6);
    return static_cast<std::size_t>(symbol - 1) * 12 + static_cast<std::size_t>(symbolSlot(c));
}

const std::uint8_t* ReelShading::frame(int symbol, int c) const {
    return frames_.data() + frameIndex(symbol, c) * frameBytes_;
}

void ReelShading::copyFrame(const std::uint8_t* frame, Picture& target, int top) const {
    if (target.pitch() == pitch_) {
        std::memcpy(target.row(top), frame, frameBytes_);
        return;
    }
    const int bytes = std::min(target.width(), kReelSize) * Picture::kBytesPerPixel;
    for (int j = 0; j < kReelSize; ++j)
        std::memcpy(target.row(top + j), frame + std::ptrdiff_t{j} * pitch_,
                    static_cast<std::size_t>(bytes));
}

void ReelShading::paintSpinStrip(int from, int to, Picture& spinStrip) const {
    if (!validSymbol(from) || !validSymbol(to)) return;
    if (spinStrip.height() < kReelSize * kSpinFrames) return;
    for (int c = 0; c < kSpinFrames; ++c)
        copyFrame(frame(c < 8 ? from : to, c), spinStrip, c * kReelSize);
}

void ReelShading::drawStill(int symbol, Picture& reel) const {
    if (!validSymbol(symbol)) return;
    if (reel.width() != kReelSize || reel.height() != kReelSize)
        reel = Picture(kReelSize, kReelSize);
    copyFrame(frame(symbol, 13), reel, 0);
}

TickResult frameTick(ReelCounters& counters, const Holds& held) {
    TickResult result;
    for (std::size_t n = 0; n < 3; ++n) {
        std::uint8_t& c = counters.frameCounter[n];
        std::uint8_t& extra = counters.extraCycles[n];
        if (held[n] != 0) {
            c = kReelStopped;
            continue;
        }
        const std::uint8_t shown = c;
        if (shown <= 13) result.frame[n] = shown;
        if (shown == 7 && extra > 0) --extra;
        if (extra > 0 && shown == 7) c = 5;
        // Keeps counting once stopped; held below the top so it can never wrap back to 0.
        if (c < 255) ++c;
    }
    result.spinOver = std::all_of(counters.frameCounter.begin(), counters.frameCounter.end(),
                                  [](std::uint8_t c) { return c >= kReelStopped; });
    return result;
}

}  // namespace fruvana
