// The stored lists a grid refuses: where reading stops, what the reason names, and the grid left
// as it was. What a readable list puts in the stores is checked against the fuzz target's own
// reading of the grammar, which the suite runs on its corpus and on random variations of it
// (tests/fuzz/fuzz_property_lists.cpp).
#include "grid/property_lists.h"

#include <gtest/gtest.h>

#include <sstream>

#include "grid/align_grid.h"

namespace fruvana {
namespace {

const ListItem kName = std::string("MS Sans Serif");

// Every field of an entry, set ones only: "align 2 brush 12/0 font 255 -11 MS Sans Serif 0 1".
std::string describe(const CellProperties& p) {
    std::ostringstream out;
    if (p.align != CellAlign::NotSet) out << "align " << int(p.align) << ' ';
    if (p.wordwrap != WordWrapMode::WrapNotSet) out << "wrap " << int(p.wordwrap) << ' ';
    if (p.editable) out << "edit " << int(p.editable) << ' ';
    for (auto [name, b] : {std::pair{"brush", p.brush.get()}, {"sbrush", p.selectedBrush.get()}}) {
        if (b) out << name << ' ' << b->colour() << '/' << b->style() << ' ';
    }
    for (auto [name, f] : {std::pair{"font", p.font.get()}, {"sfont", p.selectedFont.get()}}) {
        if (f) {
            out << name << ' ' << f->colour() << ' ' << f->height() << ' ' << f->name() << ' '
                << int(f->pitch()) << ' ' << int(f->style()) << ' ';
        }
    }
    return out.str();
}

std::string fingerprint(const AlignGrid& g) {
    std::ostringstream out;
    for (const auto& [k, p] : g.stores().cellProps)
        out << k.first << ',' << k.second << describe(p);
    for (const auto* store : {&g.stores().colProps, &g.stores().rowProps, &g.stores().fixedColProps,
                              &g.stores().fixedRowProps}) {
        out << '|';
        for (const auto& [k, p] : *store) out << k << describe(p);
    }
    return out.str();
}

// ---- Input that cannot be read -------------------------------------------------------------

struct BadCase {
    const char* name;
    PropertyLevel which;
    PropertyList list;  // a good group for index 40 first, then the fault
    std::size_t position;
    const char* says;
};

class RefusesList : public testing::TestWithParam<BadCase> {};

TEST_P(RefusesList, WithItsPositionAndKeepsTheGrid) {
    const BadCase& c = GetParam();
    AlignGrid grid;
    const bool cells = c.which == PropertyLevel::Cell;
    ASSERT_TRUE(grid.readPropertyList(
        c.which, cells ? PropertyList{1, 1, 1, 2, 0} : PropertyList{1, 1, 2, 0}));
    const std::string before = fingerprint(grid);
    EXPECT_TRUE(parsePropertyList(c.which, c.list).groups.empty());
    const ListReadResult result = grid.readPropertyList(c.which, c.list);
    EXPECT_FALSE(result);
    EXPECT_EQ(result.position, c.position);
    EXPECT_NE(result.message.find(c.says), std::string::npos) << result.message;
    // Not even the good group in front of the fault is applied.
    EXPECT_EQ(fingerprint(grid), before);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, RefusesList,
    testing::Values(
        BadCase{"EndsInsideRecord",
                PropertyLevel::Row,
                {40, 0, 1, 6, 255, -11, kName, 0},
                8,
                "font style"},
        BadCase{"EndsBeforeTagZero", PropertyLevel::Column, {40, 0, 1, 1, 2}, 5, "property tag"},
        BadCase{"StringForHeight",
                PropertyLevel::Row,
                {40, 0, 1, 6, 255, kName, kName, 0, 1, 0},
                5,
                "font height"},
        BadCase{"IntegerForName",
                PropertyLevel::Row,
                {40, 0, 1, 6, 255, -11, 5, 0, 1, 0},
                6,
                "font name"},
        BadCase{"StringForIndex", PropertyLevel::Column, {40, 0, kName, 0}, 2, "index"},
        BadCase{"StringForTag", PropertyLevel::Column, {40, 0, 1, kName}, 3, "property tag"},
        BadCase{"CellWithoutRow", PropertyLevel::Cell, {40, 40, 0, 3}, 4, "row"},
        BadCase{"BrushWithoutStyle", PropertyLevel::Column, {40, 0, 1, 4, 9}, 5, "brush style"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace fruvana
