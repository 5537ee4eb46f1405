#pragma once
// Breaking a cell's text into the lines it is drawn as, for a given width and word-wrap mode.
// Kept apart from the fonts: the caller passes the measure of its font.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "grid/cell_properties.h"

namespace fruvana {

using MeasureText = std::function<int(std::string_view)>;

// The lines of text for a box `width` pixels wide. A line feed starts a new line in every mode
// (a carriage return before it is dropped).
// - Wrap: lines break between words; a word wider than the box keeps a line of its own.
// - Ellipsis: a line wider than the box is shortened to end in "..." within the width.
// - Clip (and WrapNotSet): lines stay as they are; the caller's clip cuts them.
// Empty text gives no lines.
std::vector<std::string> layoutLines(std::string_view text, int width, WordWrapMode mode,
                                     const MeasureText& measure);

}  // namespace fruvana
