#pragma once
// Whether a point of a picture lies on the round face drawn in it: the circle of the given
// radius centred at (centre, centre). The screens test the lever knob and every round button
// with it.

#include <cstdint>

namespace fruvana {

constexpr bool insideCircle(int x, int y, int centre, int radius) {
    // Wide, and the square round the circle tested first, so no point a window system may
    // report can overflow the sum of squares.
    const std::int64_t dx = std::int64_t{x} - centre;
    const std::int64_t dy = std::int64_t{y} - centre;
    const auto near = [radius](std::int64_t d) { return d >= -radius && d <= radius; };
    if (!near(dx) || !near(dy)) return false;
    return dx * dx + dy * dy <= std::int64_t{radius} * radius;
}

}  // namespace fruvana
