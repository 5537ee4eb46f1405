// Drawing the grid: each cell is filled with its brush, and its text is drawn over it from the
// top of the cell shrunk by the inset, clipped to that inner box. No lines between cells.

#include <algorithm>

#include "grid/align_grid.h"
#include "grid/text_layout.h"

namespace fruvana {

namespace {

constexpr Rgb kEdgeLight{255, 255, 255};
constexpr Rgb kEdgeShadow{128, 128, 128};

// A one-pixel raised frame: light along the top and left, shadow along the bottom and right.
void drawRaisedEdges(Picture& target, const Rect& cell, const Rect& visible) {
    if (cell.w < 2 || cell.h < 2) return;
    target.fill(intersect({cell.x, cell.y, cell.w, 1}, visible), kEdgeLight);
    target.fill(intersect({cell.x, cell.y, 1, cell.h}, visible), kEdgeLight);
    target.fill(intersect({cell.x, cell.y + cell.h - 1, cell.w, 1}, visible), kEdgeShadow);
    target.fill(intersect({cell.x + cell.w - 1, cell.y, 1, cell.h}, visible), kEdgeShadow);
}

}  // namespace

std::shared_ptr<fruvana::Font> AlignGrid::openFont(const CellFont& font) const {
    const FontRequest request = toFontRequest(font.values());
    for (const auto& [known, opened] : fonts_) {
        if (known == request) return opened;
    }
    // Deliberate: a font that cannot be opened is remembered as missing, so painting does not
    // search the installed fonts again for every cell; its cells show their backgrounds only.
    std::string error;
    auto opened = fruvana::Font::open(request, error);
    if (!opened) fontError_ = "grid font \"" + request.family + "\": " + error;
    fonts_.emplace_back(request, opened);
    return opened;
}

bool AlignGrid::openFonts() const {
    bool all = true;
    for (int row = 0; row < rowCount_; ++row) {
        for (int col = 0; col < colCount_; ++col) all = openFont(*lookup(col, row).font) && all;
    }
    return all;
}

void AlignGrid::paint(Picture& target, const Rect& clip) const {
    const Rect box = bounds();
    const Rect area = intersect(intersect(clip, box), target.bounds());
    if (area.empty()) return;
    // Deliberate: the part of the box that no cell covers gets the background colour, so a
    // grid larger than its cells never shows stale pixels there.
    const int cellsW = colEdges_.back();
    const int cellsH = rowCount_ * defaultRowHeight_;
    const Rgb background = toRgb(background_.colour());
    target.fill(intersect({x_ + cellsW, y_, box.w - cellsW, box.h}, area), background);
    target.fill(intersect({x_, y_ + cellsH, box.w, box.h - cellsH}, area), background);
    if (defaultRowHeight_ <= 0 || colCount_ == 0) return;
    // Only the rows and columns that meet the area are visited.
    const int firstRow = (area.y - y_) / defaultRowHeight_;
    const int lastRow = std::min(rowCount_ - 1, (area.y + area.h - 1 - y_) / defaultRowHeight_);
    const int areaRight = area.x + area.w;
    const auto firstCol = static_cast<int>(
        std::upper_bound(colEdges_.begin(), colEdges_.end(), area.x - x_) - colEdges_.begin() - 1);
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int col = std::max(firstCol, 0); col < colCount_; ++col) {
            const Rect cell = cellRect(col, row);
            if (cell.x >= areaRight) break;
            if (cell.empty()) continue;
            drawCell(target, area, col, row, cell);
        }
    }
}

void AlignGrid::drawCell(Picture& target, const Rect& area, int col, int row,
                         const Rect& cell) const {
    const CellLook look = lookup(col, row);
    const Rect visible = intersect(cell, area);
    if (look.brush->style() != kBrushClear) target.fill(visible, toRgb(look.brush->colour()));
    if (!flat_ && isFixed(col, row)) drawRaisedEdges(target, cell, visible);

    const std::string& text = cellText(col, row);
    if (text.empty()) return;
    const Rect inner{cell.x + kTextInset, cell.y + kTextInset, cell.w - 2 * kTextInset,
                     cell.h - 2 * kTextInset};
    const Rect textClip = intersect(inner, area);
    if (textClip.empty()) return;
    const auto font = openFont(*look.font);
    if (!font) return;

    // Text stands on the cell's own background: only the glyphs' pixels are touched. An
    // ampersand is an ordinary character here; nothing in the text is read as markup.
    const auto lines = layoutLines(text, inner.w, look.wordwrap,
                                   [&font](std::string_view s) { return font->measure(s); });
    const Rgb colour = toRgb(look.font->colour());
    const int lineHeight = std::max(font->lineHeight(), 1);
    const int clipBottom = textClip.y + textClip.h;
    int y = inner.y;
    for (const std::string& line : lines) {
        if (y >= clipBottom) break;
        if (y + lineHeight > textClip.y) {
            const TextMask mask = font->render(line, false);
            int x = inner.x;
            if (look.align == CellAlign::Right) x = inner.x + inner.w - mask.width;
            if (look.align == CellAlign::Centre) x = inner.x + (inner.w - mask.width) / 2;
            drawText(mask, target, x, y, colour, textClip);
        }
        y += lineHeight;
    }
}

bool AlignGrid::textFits(int col, int row) const {
    const std::string& text = cellText(col, row);
    const CellLook look = lookup(col, row);
    const auto font = text.empty() ? nullptr : openFont(*look.font);
    if (!font) return true;
    const int width = colWidth(col) - 2 * kTextInset;
    if (look.wordwrap != WordWrapMode::Wrap) return font->measure(text) <= width;
    const auto lines = layoutLines(text, width, look.wordwrap,
                                   [&font](std::string_view s) { return font->measure(s); });
    const int height = defaultRowHeight_ - 2 * kTextInset;
    return std::ssize(lines) * std::max(font->lineHeight(), 1) <= height &&
           std::all_of(lines.begin(), lines.end(),
                       [&](const std::string& line) { return font->measure(line) <= width; });
}

}  // namespace fruvana
