#pragma once
// `AlignGrid`: a grid of text cells in which a cell, a column, a row, a fixed column or a fixed
// row may carry its own alignment, word-wrap mode, font and background. The statistics table
// of the settings screen is one. The grid is drawn, never edited: it takes no input, shows no
// selection and no focus rectangle.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "grid/cell_properties.h"
#include "grid/property_lists.h"
#include "platform/picture.h"
#include "platform/text.h"

namespace fruvana {

// The five sparse stores; every entry belongs to its store.
struct PropertyStores {
    std::map<std::pair<std::uint16_t, std::uint16_t>, CellProperties> cellProps;  // (col, row)
    std::map<std::uint16_t, CellProperties> colProps;
    std::map<std::uint16_t, CellProperties> rowProps;
    std::map<std::uint16_t, CellProperties> fixedColProps;
    std::map<std::uint16_t, CellProperties> fixedRowProps;
};

// What the lookup decides for one cell. Alignment and word-wrap mode are never the not-set
// values; font and brush point into the grid and stay valid until its properties change.
struct CellLook {
    CellAlign align = CellAlign::Left;
    WordWrapMode wordwrap = WordWrapMode::Clip;
    const CellFont* font = nullptr;
    const CellBrush* brush = nullptr;
};

// The outcome of reading one stored list: ok, or the reason with its position.
struct ListReadResult {
    bool ok = true;
    std::size_t position = 0;
    std::string message;
    explicit operator bool() const { return ok; }
};

class AlignGrid {
  public:
    // Counts and sizes are kept within these bounds; a caller asking for more gets the bound.
    static constexpr int kMaxCount = 65536;
    static constexpr int kMaxExtent = 4096;
    static constexpr int kMaxPlace = 1 << 24;
    // The inset of a cell's text from every side of the cell.
    static constexpr int kTextInset = 2;

    AlignGrid();
    // Fonts and brushes call the grid back, so a grid stays where it was built.
    AlignGrid(const AlignGrid&) = delete;
    AlignGrid& operator=(const AlignGrid&) = delete;
    ~AlignGrid();

    // Called with the window rectangle to repaint whenever something visible changes.
    std::function<void(const Rect&)> onInvalidate;

    // ---- Shape and place --------------------------------------------------------------
    int colCount() const { return colCount_; }
    int rowCount() const { return rowCount_; }
    void setColCount(int count);
    void setRowCount(int count);
    int fixedCols() const { return fixedCols_; }
    int fixedRows() const { return fixedRows_; }
    void setFixedCols(int count);
    void setFixedRows(int count);
    // Width of a column; columns without their own width have the default width.
    int colWidth(int col) const;
    void setColWidths(int col, int width);
    int defaultColWidth() const { return defaultColWidth_; }
    void setDefaultColWidth(int width);
    int defaultRowHeight() const { return defaultRowHeight_; }
    void setDefaultRowHeight(int height);

    // The grid's place in window pixels. Its size is that of all its cells unless set; cells
    // beyond it are cut off.
    void setPlace(int x, int y);
    void setSize(int width, int height);
    Rect bounds() const;
    // A cell's rectangle in window pixels (empty for a cell outside the grid).
    Rect cellRect(int col, int row) const;

    // Fixed cells are drawn without raised edges when the look is flat.
    bool flat() const { return flat_; }
    void setFlat(bool flat);

    // ---- Grid-wide properties ---------------------------------------------------------
    std::uint32_t Color() const { return background_.colour(); }
    void setColor(std::uint32_t colour);
    std::uint32_t FixedColor() const { return fixedBrush_.colour(); }
    void setFixedColor(std::uint32_t colour);
    CellFont& font() { return font_; }
    const CellFont& font() const { return font_; }
    const CellFont& fixedFont() const { return fixedFont_; }
    CellAlign alignment() const { return alignment_; }
    void setAlignment(CellAlign align);
    WordWrapMode wordwrap() const { return wordwrap_; }
    void setWordwrap(WordWrapMode mode);

    // ---- Texts ------------------------------------------------------------------------
    // The text of a cell; a cell outside the grid has none and setting it is ignored.
    const std::string& cellText(int col, int row) const;
    void setCellText(int col, int row, std::string text);

    // ---- Per-level properties (each creates its entry when absent and repaints) ---------
    void setCellAlignment(std::uint16_t col, std::uint16_t row, CellAlign align);
    void setColumnAlignment(std::uint16_t col, CellAlign align);
    void setRowAlignment(std::uint16_t row, CellAlign align);
    void setFixedColumnAlignment(std::uint16_t col, CellAlign align);
    void setFixedRowAlignment(std::uint16_t row, CellAlign align);

    // Set the colour of the entry's brush, first made as a copy of the background brush.
    void setCellColour(std::uint16_t col, std::uint16_t row, std::uint32_t colour);
    void setColumnColour(std::uint16_t col, std::uint32_t colour);
    void setRowColour(std::uint16_t row, std::uint32_t colour);
    void setFixedColumnColour(std::uint16_t col, std::uint32_t colour);
    void setFixedRowColour(std::uint16_t row, std::uint32_t colour);

    // The entry's brush, made as a copy of the background brush when absent.
    CellBrush& cellBrush(std::uint16_t col, std::uint16_t row);
    CellBrush& columnBrush(std::uint16_t col);
    CellBrush& rowBrush(std::uint16_t row);
    CellBrush& fixedColumnBrush(std::uint16_t col);
    CellBrush& fixedRowBrush(std::uint16_t row);

    // The entry's font, made as a copy of the grid's `Font` when absent; changing it repaints.
    CellFont& cellFont(std::uint16_t col, std::uint16_t row);
    CellFont& columnFont(std::uint16_t col);
    CellFont& rowFont(std::uint16_t row);
    CellFont& fixedColumnFont(std::uint16_t col);
    CellFont& fixedRowFont(std::uint16_t row);

    const PropertyStores& stores() const { return stores_; }

    // ---- Lookup and drawing -----------------------------------------------------------
    bool isFixed(int col, int row) const { return col < fixedCols_ || row < fixedRows_; }
    CellLook lookup(int col, int row) const;

    // Whether the cell's whole text shows inside it: on one line, or as many wrapped lines as
    // the row's height holds when the cell wraps. True for an empty cell or an unopened font.
    bool textFits(int col, int row) const;
    // Paints the part of the grid that lies inside clip (window pixels) into target.
    void paint(Picture& target, const Rect& clip) const;
    // Opens now the font of every cell, so the first paint does not wait for the font lookup.
    // False when one cannot be opened; fontError() then says why.
    bool openFonts() const;
    // The reason the last font that could not be opened failed (empty when all opened).
    const std::string& fontError() const { return fontError_; }

    // ---- Stored lists -----------------------------------------------------------------
    // Reads one stored list into its store. On an error the stores keep exactly the entries
    // they had before the list, and the result names the position.
    ListReadResult readPropertyList(PropertyLevel which, const PropertyList& list);

  private:
    // A store's entry at a (and row b for Cell), made when absent by entry(); null from
    // find() then.
    CellProperties& entry(PropertyLevel which, std::uint16_t a, std::uint16_t b = 0);
    const CellProperties* find(PropertyLevel which, std::uint16_t a, std::uint16_t b = 0) const;
    CellBrush& brushOf(CellProperties& props);
    CellFont& fontOf(CellProperties& props);
    void setAlign(CellProperties& props, CellAlign align);
    void setColour(CellProperties& props, std::uint32_t colour);
    void repaint() const;
    void rebuildColumnEdges();
    void drawCell(Picture& target, const Rect& area, int col, int row, const Rect& cell) const;
    std::shared_ptr<fruvana::Font> openFont(const CellFont& font) const;

    int colCount_ = 5;
    int rowCount_ = 5;
    int fixedCols_ = 1;
    int fixedRows_ = 1;
    int defaultColWidth_ = 64;
    int defaultRowHeight_ = 24;
    std::vector<int> colWidths_;
    std::vector<int> colEdges_;  // left edge of each column from the grid's left, and the end
    int x_ = 0;
    int y_ = 0;
    int width_ = -1;  // -1: as wide and as high as the cells
    int height_ = -1;
    bool flat_ = false;

    CellBrush background_;
    CellBrush fixedBrush_;
    CellFont font_;
    CellFont fixedFont_;
    CellAlign alignment_ = CellAlign::Left;
    WordWrapMode wordwrap_ = WordWrapMode::Clip;

    std::map<std::pair<int, int>, std::string> texts_;
    PropertyStores stores_;
    std::function<void()> changed_;  // handed to every font and brush the grid owns

    mutable std::vector<std::pair<FontRequest, std::shared_ptr<fruvana::Font>>> fonts_;
    mutable std::string fontError_;
};

}  // namespace fruvana
