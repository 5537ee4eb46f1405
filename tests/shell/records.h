#pragma once
// The data files' records as bytes: little-endian 32-bit values in file order.

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace fruvana::testing {

using Bytes = std::vector<std::uint8_t>;

inline Bytes le32(std::initializer_list<std::int32_t> values) {
    Bytes bytes;
    for (const std::int32_t v : values) {
        const auto bits = static_cast<std::uint32_t>(v);
        for (int b = 0; b < 4; ++b) bytes.push_back(static_cast<std::uint8_t>(bits >> (8 * b)));
    }
    return bytes;
}

}  // namespace fruvana::testing
