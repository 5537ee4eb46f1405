#pragma once
// The display properties that a cell, a column, a row, a fixed column or a fixed row of the
// statistics grid may carry, and the fonts and brushes they own. A level that leaves a field at
// its not-set value passes the decision on to the next level of the lookup.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "platform/picture.h"
#include "platform/text.h"

namespace fruvana {

// The value 3 of both enumerations means "not set here".
enum class CellAlign : std::uint8_t { Right = 0, Left = 1, Centre = 2, NotSet = 3 };
enum class WordWrapMode : std::uint8_t { Clip = 0, Wrap = 1, Ellipsis = 2, WrapNotSet = 3 };

// Integers from stored lists mapped onto the enumerations.
// Deliberate: a value outside the enumeration becomes the not-set value, so a stray number can
// never pick an alignment or a word-wrap mode that was not asked for.
CellAlign toCellAlign(std::int64_t value);
WordWrapMode toWordWrapMode(std::int64_t value);

// Colours hold red in bits 0 to 7, green in 8 to 15 and blue in 16 to 23.
// Deliberate: the top byte is ignored, so a value with high bits set still names an ordinary
// colour instead of reading bits that no picture has.
constexpr Rgb toRgb(std::uint32_t colour) {
    return {static_cast<std::uint8_t>(colour & 0xFFu),
            static_cast<std::uint8_t>((colour >> 8) & 0xFFu),
            static_cast<std::uint8_t>((colour >> 16) & 0xFFu)};
}

// Font style bits; only the low 8 bits of a style integer count.
inline constexpr std::uint8_t kStyleBold = 1;
inline constexpr std::uint8_t kStyleItalic = 2;
inline constexpr std::uint8_t kStyleUnderline = 4;
inline constexpr std::uint8_t kStyleStrikeOut = 8;

enum class FontPitch : std::uint8_t { Default = 0, Variable = 1, Fixed = 2 };

struct FontValues {
    std::uint32_t colour = 0;
    // Below 0: the character height in pixels; above 0: the height of the whole line.
    int height = -11;
    std::string name = std::string(kTableFamily);
    FontPitch pitch = FontPitch::Default;
    std::uint8_t style = 0;
    friend bool operator==(const FontValues&, const FontValues&) = default;
};

// What the platform's text rendering is asked for to draw with these values: family, pixel
// height, bold and italic. Pitch, underline and strike-out are kept but not drawn; the game's
// fonts never use them.
FontRequest toFontRequest(const FontValues& values);

// A font owned by the grid or by one of its entries. Every change that alters a value calls
// the grid back, so a caller that sets a colour or a style sees the grid repainted.
class CellFont {
  public:
    CellFont() = default;
    explicit CellFont(FontValues values) : values_(std::move(values)) {}
    CellFont(const CellFont&) = delete;
    CellFont& operator=(const CellFont&) = delete;

    const FontValues& values() const { return values_; }
    std::uint32_t colour() const { return values_.colour; }
    int height() const { return values_.height; }
    const std::string& name() const { return values_.name; }
    FontPitch pitch() const { return values_.pitch; }
    std::uint8_t style() const { return values_.style; }
    bool bold() const { return (values_.style & kStyleBold) != 0; }
    bool italic() const { return (values_.style & kStyleItalic) != 0; }

    void setColour(std::uint32_t colour);
    void setHeight(int height);
    void setName(std::string name);
    void setPitch(FontPitch pitch);
    // Only the low 8 bits of style count; the others are dropped.
    void setStyle(std::int64_t style);
    void assign(const FontValues& values);

    // Called after every change; set by the grid that owns the font.
    void setOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

  private:
    void changed() const;
    FontValues values_;
    std::function<void()> onChange_;
};

// Brush styles: 0 solid, 1 clear (leaves the background); any other style fills solid.
inline constexpr int kBrushSolid = 0;
inline constexpr int kBrushClear = 1;

class CellBrush {
  public:
    CellBrush() = default;
    CellBrush(std::uint32_t colour, int style) : colour_(colour), style_(style) {}
    CellBrush(const CellBrush&) = delete;
    CellBrush& operator=(const CellBrush&) = delete;

    std::uint32_t colour() const { return colour_; }
    int style() const { return style_; }
    void setColour(std::uint32_t colour);
    void setStyle(int style);

    void setOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

  private:
    void changed() const;
    std::uint32_t colour_ = 0xFFFFFF;
    int style_ = kBrushSolid;
    std::function<void()> onChange_;
};

// One entry of a property store. Move-only: the fonts and brushes belong to the entry.
struct CellProperties {
    CellAlign align = CellAlign::NotSet;
    WordWrapMode wordwrap = WordWrapMode::WrapNotSet;
    std::uint8_t editable = 0;  // 1 not editable, 2 editable, 0 not set
    std::unique_ptr<CellBrush> brush;
    std::unique_ptr<CellBrush> selectedBrush;
    std::unique_ptr<CellFont> font;
    std::unique_ptr<CellFont> selectedFont;

    // Points the change hooks of every owned font and brush at onChange.
    void attach(const std::function<void()>& onChange);
};

}  // namespace fruvana
