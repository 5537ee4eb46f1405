#include "platform/placement.h"

#include <algorithm>
#include <cstring>

namespace fruvana {

int wholeScale(int screenWidth, int screenHeight) {
    if (screenWidth < 2 * kGameWidth || screenHeight < 2 * kGameHeight) return 1;
    return std::min(screenWidth / kGameWidth, screenHeight / kGameHeight);
}

int windowScale(int screenWidth, int screenHeight) {
    const int s =
        std::min(9 * screenWidth / (10 * kGameWidth), 9 * screenHeight / (10 * kGameHeight));
    return std::max(s, 1);
}

Rect cabinetRect(const Rect& frame) {
    // Division towards zero, as the cabinet's origin is computed.
    return {frame.x + (frame.w - kGameWidth) / 2, frame.y + (frame.h - kGameHeight) / 2, kGameWidth,
            kGameHeight};
}

std::optional<InputEvent> toGame(InputEvent event, const Placement& placement, Rect shown) {
    const bool pointer = event.kind == InputKind::MouseDown || event.kind == InputKind::MouseUp;
    if (!pointer || shown.empty() || placement.scale < 1) return event;
    const std::int64_t x = std::int64_t{event.x} - placement.left;
    const std::int64_t y = std::int64_t{event.y} - placement.top;
    const bool outside = x < 0 || y < 0 || x >= std::int64_t{shown.w} * placement.scale ||
                         y >= std::int64_t{shown.h} * placement.scale;
    if (outside && event.kind == InputKind::MouseDown) return std::nullopt;
    event.x =
        shown.x + static_cast<int>(std::clamp<std::int64_t>(x / placement.scale, 0, shown.w - 1));
    event.y =
        shown.y + static_cast<int>(std::clamp<std::int64_t>(y / placement.scale, 0, shown.h - 1));
    return event;
}

void scaleInto(const Picture& src, Rect part, const Placement& placement, Rect shown,
               std::uint8_t* dst, int dstPitch, int dstWidth, int dstHeight) {
    const int s = std::max(placement.scale, 1);
    part = intersect(intersect(part, src.bounds()), shown);
    if (part.empty() || dst == nullptr) return;
    // The part's first and last window columns and rows, cut to the destination.
    const std::int64_t x0 = placement.left + std::int64_t{part.x - shown.x} * s;
    const std::int64_t y0 = placement.top + std::int64_t{part.y - shown.y} * s;
    const std::int64_t xFrom = std::max<std::int64_t>(x0, 0);
    const std::int64_t xTo = std::min<std::int64_t>(x0 + std::int64_t{part.w} * s, dstWidth);
    if (xFrom >= xTo) return;
    // Columns whose squares lie wholly inside the window take the fast path.
    const bool whole = x0 >= 0 && x0 + std::int64_t{part.w} * s <= dstWidth;
    const auto pack = [](const std::uint8_t* bgr) {
        return std::uint32_t{bgr[2]} << 16 | std::uint32_t{bgr[1]} << 8 | bgr[0];
    };
    for (int row = 0; row < part.h; ++row) {
        const std::int64_t top = y0 + std::int64_t{row} * s;
        const std::int64_t firstLine = std::max<std::int64_t>(top, 0);
        const std::int64_t endLine = std::min<std::int64_t>(top + s, dstHeight);
        if (firstLine >= endLine) continue;
        const std::uint8_t* in = src.row(part.y + row) + std::ptrdiff_t{part.x} * 3;
        auto* line = reinterpret_cast<std::uint32_t*>(dst + firstLine * dstPitch);
        if (whole) {
            std::uint32_t* out = line + x0;
            for (int c = 0; c < part.w; ++c, in += Picture::kBytesPerPixel, out += s)
                std::fill_n(out, s, pack(in));
        } else {
            for (int c = 0; c < part.w; ++c, in += Picture::kBytesPerPixel) {
                const std::uint32_t pixel = pack(in);
                const std::int64_t from = std::max(x0 + std::int64_t{c} * s, xFrom);
                const std::int64_t to = std::min(x0 + std::int64_t{c + 1} * s, xTo);
                for (std::int64_t x = from; x < to; ++x) line[x] = pixel;
            }
        }
        // The other lines of a scaled row are the same.
        const std::size_t bytes = static_cast<std::size_t>(xTo - xFrom) * 4;
        const std::uint8_t* first = dst + firstLine * dstPitch + xFrom * 4;
        for (std::int64_t line = firstLine + 1; line < endLine; ++line)
            std::memcpy(dst + line * dstPitch + xFrom * 4, first, bytes);
    }
}

}  // namespace fruvana
