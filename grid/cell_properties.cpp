#include "grid/cell_properties.h"

#include <algorithm>

namespace fruvana {

CellAlign toCellAlign(std::int64_t value) {
    if (value < 0 || value > 3) return CellAlign::NotSet;
    return static_cast<CellAlign>(value);
}

WordWrapMode toWordWrapMode(std::int64_t value) {
    if (value < 0 || value > 3) return WordWrapMode::WrapNotSet;
    return static_cast<WordWrapMode>(value);
}

FontRequest toFontRequest(const FontValues& values) {
    // The size a font gets when its height says nothing (0).
    // Deliberate: heights are clamped to 512 pixels, so a damaged list with a height of
    // millions cannot make the platform build glyphs larger than any screen.
    constexpr int kDefaultPixels = 11;
    constexpr int kLargestPixels = 512;
    FontRequest request;
    request.family = values.name.empty() ? FontValues{}.name : values.name;
    // Negative heights give the character height; a positive one names the whole line, which
    // we take as the same number of pixels (the table never uses that form). Negating in 64
    // bits keeps the smallest int from overflowing.
    const std::int64_t height = values.height;
    const std::int64_t pixels = height < 0 ? -height : height;
    request.pixelHeight = pixels == 0
                              ? kDefaultPixels
                              : static_cast<int>(std::min<std::int64_t>(pixels, kLargestPixels));
    request.bold = (values.style & kStyleBold) != 0;
    request.italic = (values.style & kStyleItalic) != 0;
    return request;
}

void CellFont::changed() const {
    if (onChange_) onChange_();
}

void CellFont::setColour(std::uint32_t colour) {
    if (values_.colour == colour) return;
    values_.colour = colour;
    changed();
}

void CellFont::setHeight(int height) {
    if (values_.height == height) return;
    values_.height = height;
    changed();
}

void CellFont::setName(std::string name) {
    if (values_.name == name) return;
    values_.name = std::move(name);
    changed();
}

void CellFont::setPitch(FontPitch pitch) {
    if (values_.pitch == pitch) return;
    values_.pitch = pitch;
    changed();
}

void CellFont::setStyle(std::int64_t style) {
    const auto low = static_cast<std::uint8_t>(static_cast<std::uint64_t>(style) & 0xFFu);
    if (values_.style == low) return;
    values_.style = low;
    changed();
}

void CellFont::assign(const FontValues& values) {
    if (values_ == values) return;
    values_ = values;
    changed();
}

void CellBrush::changed() const {
    if (onChange_) onChange_();
}

void CellBrush::setColour(std::uint32_t colour) {
    if (colour_ == colour) return;
    colour_ = colour;
    changed();
}

void CellBrush::setStyle(int style) {
    if (style_ == style) return;
    style_ = style;
    changed();
}

void CellProperties::attach(const std::function<void()>& onChange) {
    if (brush) brush->setOnChange(onChange);
    if (selectedBrush) selectedBrush->setOnChange(onChange);
    if (font) font->setOnChange(onChange);
    if (selectedFont) selectedFont->setOnChange(onChange);
}

}  // namespace fruvana
