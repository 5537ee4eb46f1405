#include "tools/sim/text_format.h"

#include <cstdarg>
#include <cstdio>

namespace fruvana::sim {

std::string format(const char* pattern, ...) {
    std::va_list args;
    va_start(args, pattern);
    std::va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, pattern, args);
    va_end(args);
    std::string text;
    if (length > 0) {
        text.resize(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(text.data(), text.size(), pattern, again);
        text.resize(static_cast<std::size_t>(length));
    }
    va_end(again);
    return text;
}

std::string fixedPoint(std::int64_t scaled, int places) {
    std::int64_t unit = 1;
    for (int i = 0; i < places; ++i) unit *= 10;
    const bool negative = scaled < 0;
    // Magnitudes here stay far below the int64 limit, so negation is safe.
    const std::int64_t magnitude = negative ? -scaled : scaled;
    std::string text = (negative ? "-" : "") + std::to_string(magnitude / unit);
    if (places > 0) {
        std::string fraction = std::to_string(magnitude % unit);
        text +=
            "." + std::string(static_cast<std::size_t>(places) - fraction.size(), '0') + fraction;
    }
    return text;
}

}  // namespace fruvana::sim
