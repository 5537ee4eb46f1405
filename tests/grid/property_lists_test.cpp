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

struct TagCase {
    const char* name;
    PropertyList record;  // after the index, up to and with the tag 0
    const char* fields;
};

class ReadsTag : public testing::TestWithParam<TagCase> {};

TEST_P(ReadsTag, IntoItsField) {
    PropertyList list{7};
    list.insert(list.end(), GetParam().record.begin(), GetParam().record.end());
    const ParsedList parsed = parsePropertyList(PropertyLevel::Column, list);
    ASSERT_FALSE(parsed.error) << parsed.error->message;
    ASSERT_EQ(parsed.groups.size(), 1u);
    EXPECT_EQ(parsed.groups[0].col, 7);
    EXPECT_EQ(describe(parsed.groups[0].props), GetParam().fields);
}

INSTANTIATE_TEST_SUITE_P(
    Tags, ReadsTag,
    testing::Values(
        TagCase{"EmptyRecord", {0}, ""}, TagCase{"Align", {1, 2, 0}, "align 2 "},
        TagCase{"AlignOutOfRangeStaysUnset", {1, 9, 0}, ""},
        TagCase{"Wordwrap", {2, 2, 0}, "wrap 2 "}, TagCase{"Editable", {3, 2, 0}, "edit 2 "},
        TagCase{"EditableOutOfRangeStaysUnset", {3, 7, 0}, ""},
        TagCase{"Brush", {4, 5517839, 1, 0}, "brush 5517839/1 "},
        TagCase{"SelectedBrush", {5, 12, 0, 0}, "sbrush 12/0 "},
        // The table's own group: the style's high bits are ignored, leaving bold alone.
        TagCase{"Font", {6, 255, -11, kName, 0, 317250561, 0}, "font 255 -11 MS Sans Serif 0 1 "},
        TagCase{"SelectedFont",
                {7, -1, 14, std::string("Arial"), 2, 258, 0},
                "sfont 4294967295 14 Arial 2 2 "},
        // A tag above 7 carries no values: the item after it is read as the next tag.
        TagCase{"UnknownTagsPassedOver", {8, -5, 1, 0, 0}, "align 0 "},
        TagCase{"LaterTagWins", {1, 0, 3, 1, 1, 1, 0}, "align 1 edit 1 "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PropertyLists, IndicesAreUnsigned16BitAndEmptyListsHoldNoGroup) {
    const ParsedList cell = parsePropertyList(PropertyLevel::Cell, {65537, -1, 0, 3, 4, 0});
    ASSERT_FALSE(cell.error);
    ASSERT_EQ(cell.groups.size(), 2u);
    EXPECT_EQ(cell.groups[0].col, 1);
    EXPECT_EQ(cell.groups[0].row, 65535);
    EXPECT_EQ(cell.groups[1].col, 3);  // a second group starts right after the tag 0
    const ParsedList empty = parsePropertyList(PropertyLevel::Row, {});
    EXPECT_TRUE(empty.groups.empty());
    EXPECT_FALSE(empty.error);
}

TEST(PropertyLists, ALaterGroupReplacesTheEntryAndAnEmptyEntryPassesTheLookupThrough) {
    AlignGrid grid;
    grid.setColCount(4);
    grid.setRowCount(4);
    // Column 2 centred (2), then a later group for column 2 that sets only word-wrap (2): the
    // later entry replaces the first whole, so the alignment falls back to the grid's (left).
    ASSERT_TRUE(grid.readPropertyList(PropertyLevel::Column, {2, 1, 2, 0, 2, 2, 2, 0}));
    EXPECT_EQ(grid.lookup(2, 3).align, CellAlign::Left);
    EXPECT_EQ(grid.lookup(2, 3).wordwrap, WordWrapMode::Ellipsis);
    // Row 3 aligned right (0), and an empty entry at cell (2, 3): the cell takes the column's
    // word-wrap and the row's alignment, as if it had no entry.
    ASSERT_TRUE(grid.readPropertyList(PropertyLevel::Row, {3, 1, 0, 0}));
    ASSERT_TRUE(grid.readPropertyList(PropertyLevel::Cell, {2, 3, 0}));
    EXPECT_EQ(grid.lookup(2, 3).align, CellAlign::Right);
    EXPECT_EQ(grid.lookup(2, 3).wordwrap, WordWrapMode::Ellipsis);
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
