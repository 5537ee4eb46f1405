#include "presentation/components/text_line.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace fruvana {

std::unique_ptr<TextLine> TextLine::create(std::string name, Rect area, const FontRequest& font,
                                           Rgb colour, std::string& error) {
    std::shared_ptr<fruvana::Font> opened = fruvana::Font::open(font, error);
    if (!opened) return nullptr;
    return create(std::move(name), area, std::move(opened), colour);
}

std::unique_ptr<TextLine> TextLine::create(std::string name, Rect area,
                                           std::shared_ptr<fruvana::Font> font, Rgb colour) {
    return std::unique_ptr<TextLine>(new TextLine(std::move(name), area, std::move(font), colour));
}

TextLine::TextLine(std::string name, Rect area, std::shared_ptr<fruvana::Font> font, Rgb colour)
    : Layer(std::move(name)), area_(area), font_(std::move(font)), colour_(colour) {}

void TextLine::setCaption(std::string_view text) {
    if (text == caption_) return;
    caption_ = text;
    forgetMask();
}

void TextLine::setAntialiased(bool value) {
    // Deliberate: the same quality again renders nothing and repaints nothing, so code that
    // sets it on every change costs no text rendering.
    if (value == antialiased_) return;
    antialiased_ = value;
    forgetMask();
}

void TextLine::setColour(Rgb colour) {
    if (colour == colour_) return;
    // The mask holds coverage, not colour: a new colour only repaints.
    colour_ = colour;
    invalidate();
}

bool TextLine::setFont(const FontRequest& request, std::string& error) {
    if (request == font_->request()) return true;
    std::shared_ptr<fruvana::Font> opened = fruvana::Font::open(request, error);
    if (!opened) return false;
    // The quality belongs to the label, not to the font, so a new size or weight keeps it.
    font_ = std::move(opened);
    forgetMask();
    return true;
}

void TextLine::setAlignment(Align align) {
    if (align == align_) return;
    align_ = align;
    invalidate();
}

void TextLine::moveTo(int x, int y) {
    if (x == area_.x && y == area_.y) return;
    invalidate();
    area_.x = x;
    area_.y = y;
    invalidate();
}

void TextLine::forgetMask() {
    maskValid_ = false;
    mask_ = TextMask{};
    invalidate();
}

const TextMask& TextLine::mask() const {
    if (!maskValid_) {
        mask_ = font_->render(caption_, antialiased_);
        maskValid_ = true;
        if (!caption_.empty()) ++renderCount_;
    }
    return mask_;
}

void TextLine::paint(Picture& target, const Rect& clip) const {
    if (caption_.empty()) return;
    const TextMask& line = mask();
    if (line.width <= 0) return;
    // Text wider than the label is cut off on both sides when centred, on the far side else.
    // Worked out in 64 bits, so no label size, however absurd, overflows.
    long long x = area_.x;
    switch (align_) {
        case Align::Left:
            break;
        case Align::Centre:
            x += (static_cast<long long>(area_.w) - line.width) / 2;
            break;
        case Align::Right:
            x += static_cast<long long>(area_.w) - line.width;
            break;
    }
    x = std::clamp<long long>(x, INT_MIN, INT_MAX);
    drawText(line, target, static_cast<int>(x), area_.y, colour_, intersect(clip, area_));
}

}  // namespace fruvana
