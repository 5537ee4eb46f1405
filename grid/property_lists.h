#pragma once
// The stored property lists of the grid: flat lists of integers and strings that describe, group
// by group, the entries of the five property stores. Reading is all or nothing: a list is first
// read whole into groups, and only a list read without error is applied to the grid.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "grid/cell_properties.h"

namespace fruvana {

// One value of a stored list: an integer or a string.
using ListItem = std::variant<std::int64_t, std::string>;
using PropertyList = std::vector<ListItem>;

// The five lists and the store each one fills. `Cell` groups start with a column and a row;
// the others with one index.
enum class PropertyLevel { Cell, Column, Row, FixedColumn, FixedRow };

std::string_view propListName(PropertyLevel which);

struct ParsedGroup {
    std::uint16_t col = 0;  // the index for every list but Cell
    std::uint16_t row = 0;  // Cell only
    CellProperties props;
};

struct ReadError {
    std::size_t position =
        0;                // index of the item where reading stopped (the list's size at its end)
    std::string message;  // one line, naming the list and the position
};

struct ParsedList {
    std::vector<ParsedGroup> groups;
    std::optional<ReadError> error;  // set when the list cannot be read; groups is then empty
};

// Reads a whole list. Never throws and never reads past the list's end.
ParsedList parsePropertyList(PropertyLevel which, const PropertyList& list);

}  // namespace fruvana
