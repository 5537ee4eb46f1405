#include "grid/align_grid.h"

#include <algorithm>

namespace fruvana {

namespace {

int clampCount(int count) {
    return std::clamp(count, 0, AlignGrid::kMaxCount);
}

int clampExtent(int extent) {
    return std::clamp(extent, 0, AlignGrid::kMaxExtent);
}

// The platform's default font: what a font asked for with nothing in particular gets.
FontValues platformDefaultFont() {
    const FontRequest defaults;
    FontValues values;
    values.name = defaults.family;
    values.height = -defaults.pixelHeight;
    return values;
}

constexpr std::uint32_t kDefaultColor = 0xFFFFFF;       // white cells
constexpr std::uint32_t kDefaultFixedColor = 0xC0C0C0;  // light grey headers

}  // namespace

AlignGrid::AlignGrid()
    : background_(kDefaultColor, kBrushSolid),
      fixedBrush_(kDefaultFixedColor, kBrushSolid),
      fixedFont_(platformDefaultFont()) {
    changed_ = [this] { repaint(); };
    background_.setOnChange(changed_);
    fixedBrush_.setOnChange(changed_);
    font_.setOnChange(changed_);
    colWidths_.assign(static_cast<std::size_t>(colCount_), defaultColWidth_);
    rebuildColumnEdges();
}

AlignGrid::~AlignGrid() = default;

void AlignGrid::repaint() const {
    if (onInvalidate) onInvalidate(bounds());
}

// ---- Shape and place ----------------------------------------------------------------------

void AlignGrid::rebuildColumnEdges() {
    colEdges_.assign(colWidths_.size() + 1, 0);
    for (std::size_t c = 0; c < colWidths_.size(); ++c)
        colEdges_[c + 1] = colEdges_[c] + colWidths_[c];
}

void AlignGrid::setColCount(int count) {
    count = clampCount(count);
    if (count == colCount_) return;
    colCount_ = count;
    colWidths_.resize(static_cast<std::size_t>(count), defaultColWidth_);
    std::erase_if(texts_, [count](const auto& t) { return t.first.first >= count; });
    fixedCols_ = std::min(fixedCols_, count);
    rebuildColumnEdges();
    repaint();
}

void AlignGrid::setRowCount(int count) {
    count = clampCount(count);
    if (count == rowCount_) return;
    rowCount_ = count;
    std::erase_if(texts_, [count](const auto& t) { return t.first.second >= count; });
    fixedRows_ = std::min(fixedRows_, count);
    repaint();
}

void AlignGrid::setFixedCols(int count) {
    fixedCols_ = std::clamp(count, 0, colCount_);
    repaint();
}

void AlignGrid::setFixedRows(int count) {
    fixedRows_ = std::clamp(count, 0, rowCount_);
    repaint();
}

int AlignGrid::colWidth(int col) const {
    if (col < 0 || col >= colCount_) return 0;
    return colWidths_[static_cast<std::size_t>(col)];
}

void AlignGrid::setColWidths(int col, int width) {
    if (col < 0 || col >= colCount_) return;  // no such column: nothing to size
    colWidths_[static_cast<std::size_t>(col)] = clampExtent(width);
    rebuildColumnEdges();
    repaint();
}

void AlignGrid::setDefaultColWidth(int width) {
    defaultColWidth_ = clampExtent(width);
    std::fill(colWidths_.begin(), colWidths_.end(), defaultColWidth_);
    rebuildColumnEdges();
    repaint();
}

void AlignGrid::setDefaultRowHeight(int height) {
    defaultRowHeight_ = clampExtent(height);
    repaint();
}

// Deliberate: places and sizes are kept far beyond any screen but well inside int, so no edge
// of a cell (place plus columns) can overflow, whatever a caller passes.
void AlignGrid::setPlace(int x, int y) {
    x = std::clamp(x, -kMaxPlace, kMaxPlace);
    y = std::clamp(y, -kMaxPlace, kMaxPlace);
    if (x == x_ && y == y_) return;
    repaint();  // the old place shows what lies beneath again
    x_ = x;
    y_ = y;
    repaint();
}

void AlignGrid::setSize(int width, int height) {
    repaint();
    width_ = std::clamp(width, 0, kMaxPlace);
    height_ = std::clamp(height, 0, kMaxPlace);
    repaint();
}

Rect AlignGrid::bounds() const {
    const int w = width_ >= 0 ? width_ : colEdges_.back();
    const int h = height_ >= 0 ? height_ : rowCount_ * defaultRowHeight_;
    return {x_, y_, w, h};
}

Rect AlignGrid::cellRect(int col, int row) const {
    if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) return {};
    return {x_ + colEdges_[static_cast<std::size_t>(col)], y_ + row * defaultRowHeight_,
            colWidths_[static_cast<std::size_t>(col)], defaultRowHeight_};
}

void AlignGrid::setFlat(bool flat) {
    if (flat == flat_) return;
    flat_ = flat;
    repaint();
}

// ---- Grid-wide properties -----------------------------------------------------------------

void AlignGrid::setColor(std::uint32_t colour) {
    background_.setColour(colour);
}

void AlignGrid::setFixedColor(std::uint32_t colour) {
    fixedBrush_.setColour(colour);
}

void AlignGrid::setAlignment(CellAlign align) {
    alignment_ = align;
    repaint();
}

void AlignGrid::setWordwrap(WordWrapMode mode) {
    wordwrap_ = mode;
    repaint();
}

// ---- Texts --------------------------------------------------------------------------------

const std::string& AlignGrid::cellText(int col, int row) const {
    static const std::string kNone;
    const auto it = texts_.find({col, row});
    return it == texts_.end() ? kNone : it->second;
}

void AlignGrid::setCellText(int col, int row, std::string text) {
    if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) return;
    if (text.empty()) {
        texts_.erase({col, row});
    } else {
        texts_[{col, row}] = std::move(text);
    }
    if (onInvalidate) onInvalidate(intersect(cellRect(col, row), bounds()));
}

// ---- Per-level properties -----------------------------------------------------------------

CellProperties& AlignGrid::entry(PropertyLevel which, std::uint16_t a, std::uint16_t b) {
    switch (which) {
        case PropertyLevel::Cell:
            return stores_.cellProps[{a, b}];
        case PropertyLevel::Column:
            return stores_.colProps[a];
        case PropertyLevel::Row:
            return stores_.rowProps[a];
        case PropertyLevel::FixedColumn:
            return stores_.fixedColProps[a];
        case PropertyLevel::FixedRow:
            break;
    }
    return stores_.fixedRowProps[a];
}

const CellProperties* AlignGrid::find(PropertyLevel which, std::uint16_t a, std::uint16_t b) const {
    auto lookIn = [](const auto& store, const auto& key) -> const CellProperties* {
        const auto it = store.find(key);
        return it == store.end() ? nullptr : &it->second;
    };
    switch (which) {
        case PropertyLevel::Cell:
            return lookIn(stores_.cellProps, std::pair{a, b});
        case PropertyLevel::Column:
            return lookIn(stores_.colProps, a);
        case PropertyLevel::Row:
            return lookIn(stores_.rowProps, a);
        case PropertyLevel::FixedColumn:
            return lookIn(stores_.fixedColProps, a);
        case PropertyLevel::FixedRow:
            break;
    }
    return lookIn(stores_.fixedRowProps, a);
}

CellBrush& AlignGrid::brushOf(CellProperties& props) {
    if (!props.brush) {
        props.brush = std::make_unique<CellBrush>(background_.colour(), background_.style());
        props.brush->setOnChange(changed_);
    }
    return *props.brush;
}

CellFont& AlignGrid::fontOf(CellProperties& props) {
    if (!props.font) {
        props.font = std::make_unique<CellFont>(font_.values());
        props.font->setOnChange(changed_);
    }
    return *props.font;
}

void AlignGrid::setAlign(CellProperties& props, CellAlign align) {
    props.align = align;
    repaint();
}

// A brush just made repaints even when its colour matches the background's: the entry now
// decides the cell's background where a later level decided it before.
void AlignGrid::setColour(CellProperties& props, std::uint32_t colour) {
    const bool made = !props.brush;
    CellBrush& brush = brushOf(props);
    if (made && brush.colour() == colour) repaint();
    brush.setColour(colour);  // repaints when the colour changes
}

void AlignGrid::setCellAlignment(std::uint16_t col, std::uint16_t row, CellAlign align) {
    setAlign(entry(PropertyLevel::Cell, col, row), align);
}

void AlignGrid::setColumnAlignment(std::uint16_t col, CellAlign align) {
    setAlign(entry(PropertyLevel::Column, col), align);
}

void AlignGrid::setRowAlignment(std::uint16_t row, CellAlign align) {
    setAlign(entry(PropertyLevel::Row, row), align);
}

void AlignGrid::setFixedColumnAlignment(std::uint16_t col, CellAlign align) {
    setAlign(entry(PropertyLevel::FixedColumn, col), align);
}

void AlignGrid::setFixedRowAlignment(std::uint16_t row, CellAlign align) {
    setAlign(entry(PropertyLevel::FixedRow, row), align);
}

void AlignGrid::setCellColour(std::uint16_t col, std::uint16_t row, std::uint32_t colour) {
    setColour(entry(PropertyLevel::Cell, col, row), colour);
}

void AlignGrid::setColumnColour(std::uint16_t col, std::uint32_t colour) {
    setColour(entry(PropertyLevel::Column, col), colour);
}

void AlignGrid::setRowColour(std::uint16_t row, std::uint32_t colour) {
    setColour(entry(PropertyLevel::Row, row), colour);
}

void AlignGrid::setFixedColumnColour(std::uint16_t col, std::uint32_t colour) {
    setColour(entry(PropertyLevel::FixedColumn, col), colour);
}

void AlignGrid::setFixedRowColour(std::uint16_t row, std::uint32_t colour) {
    setColour(entry(PropertyLevel::FixedRow, row), colour);
}

CellBrush& AlignGrid::cellBrush(std::uint16_t col, std::uint16_t row) {
    return brushOf(entry(PropertyLevel::Cell, col, row));
}

CellBrush& AlignGrid::columnBrush(std::uint16_t col) {
    return brushOf(entry(PropertyLevel::Column, col));
}

CellBrush& AlignGrid::rowBrush(std::uint16_t row) {
    return brushOf(entry(PropertyLevel::Row, row));
}

CellBrush& AlignGrid::fixedColumnBrush(std::uint16_t col) {
    return brushOf(entry(PropertyLevel::FixedColumn, col));
}

CellBrush& AlignGrid::fixedRowBrush(std::uint16_t row) {
    return brushOf(entry(PropertyLevel::FixedRow, row));
}

CellFont& AlignGrid::cellFont(std::uint16_t col, std::uint16_t row) {
    return fontOf(entry(PropertyLevel::Cell, col, row));
}

CellFont& AlignGrid::columnFont(std::uint16_t col) {
    return fontOf(entry(PropertyLevel::Column, col));
}

CellFont& AlignGrid::rowFont(std::uint16_t row) {
    return fontOf(entry(PropertyLevel::Row, row));
}

CellFont& AlignGrid::fixedColumnFont(std::uint16_t col) {
    return fontOf(entry(PropertyLevel::FixedColumn, col));
}

CellFont& AlignGrid::fixedRowFont(std::uint16_t row) {
    return fontOf(entry(PropertyLevel::FixedRow, row));
}

// ---- Lookup -------------------------------------------------------------------------------

CellLook AlignGrid::lookup(int col, int row) const {
    const bool fixed = isFixed(col, row);
    // Cells beyond the 16-bit indices of the stores have no entries of their own.
    const bool indexable = col >= 0 && row >= 0 && col < kMaxCount && row < kMaxCount;
    const auto c = static_cast<std::uint16_t>(indexable ? col : 0);
    const auto r = static_cast<std::uint16_t>(indexable ? row : 0);
    const CellProperties* levels[3] = {};
    if (indexable) {
        levels[0] = find(PropertyLevel::Cell, c, r);
        levels[1] = find(fixed ? PropertyLevel::FixedColumn : PropertyLevel::Column, c);
        levels[2] = find(fixed ? PropertyLevel::FixedRow : PropertyLevel::Row, r);
    }

    CellLook look;
    look.align = alignment_ == CellAlign::NotSet ? CellAlign::Left : alignment_;
    look.wordwrap = wordwrap_ == WordWrapMode::WrapNotSet ? WordWrapMode::Clip : wordwrap_;
    look.font = fixed ? &fixedFont_ : &font_;
    look.brush = fixed ? &fixedBrush_ : &background_;
    // From the last level to the first, so the first level that sets a field wins.
    for (int i = 2; i >= 0; --i) {
        const CellProperties* p = levels[i];
        if (!p) continue;
        if (p->align != CellAlign::NotSet) look.align = p->align;
        if (p->wordwrap != WordWrapMode::WrapNotSet) look.wordwrap = p->wordwrap;
        if (p->font) look.font = p->font.get();
        if (p->brush) look.brush = p->brush.get();
    }
    return look;
}

// ---- Stored lists -------------------------------------------------------------------------

ListReadResult AlignGrid::readPropertyList(PropertyLevel which, const PropertyList& list) {
    ParsedList parsed = parsePropertyList(which, list);
    if (parsed.error) return {false, parsed.error->position, std::move(parsed.error->message)};
    if (parsed.groups.empty()) return {};
    for (ParsedGroup& group : parsed.groups) {
        group.props.attach(changed_);
        // Each group replaces whatever entry stood at its place; the old one is released here.
        entry(which, group.col, group.row) = std::move(group.props);
    }
    repaint();
    return {};
}

}  // namespace fruvana
