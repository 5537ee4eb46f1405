#pragma once
// Small helpers for the simulator's fixed-width text.

#include <cstdint>
#include <string>

namespace fruvana::sim {

// printf-style formatting into a std::string.
[[gnu::format(printf, 1, 2)]] std::string format(const char* pattern, ...);

// An exact decimal of a scaled integer: fixedPoint(615, 2) is "6.15", fixedPoint(-5, 2) "-0.05".
std::string fixedPoint(std::int64_t scaled, int places);

}  // namespace fruvana::sim
