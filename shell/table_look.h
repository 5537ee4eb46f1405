#pragma once
// The look the game's two tables share (the statistics on the settings screen and the game
// recall), so the recall reads as the table the player already knows. Colours are as the grid
// takes them, 0x00BBGGRR.

#include <cstdint>

namespace fruvana::table_look {

// The cells, and the grid around them.
inline constexpr std::uint32_t kCellBackground = 0x54320F;
// The header row and the label column.
inline constexpr std::uint32_t kHeaderBackground = 0x4B2D0E;
// The cells of odd rows, so the rows read as stripes.
inline constexpr std::uint32_t kOddRowBackground = 0x583611;
// The label cells of odd rows, the stripe of the label column.
inline constexpr std::uint32_t kOddLabelBackground = 0x4F3110;
// Red headings and labels, orange values.
inline constexpr std::uint32_t kHeaderText = 0x0000FF;
inline constexpr std::uint32_t kValueText = 0x0080FF;

}  // namespace fruvana::table_look
