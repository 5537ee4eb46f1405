#pragma once
// A one-line text label drawn with smoothed glyph edges over whatever lies beneath it: the
// message line and the intro line of the cabinet, and the account line of the settings screen.
// It joins a window's Scene as a layer and repaints itself through the scene when it changes.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/picture.h"
#include "platform/text.h"
#include "presentation/scene.h"

namespace fruvana {

class TextLine final : public Layer {
  public:
    enum class Align { Left, Centre, Right };

    // Finds and opens the font once; null with a one-line reason in error when no installed
    // font answers the request.
    static std::unique_ptr<TextLine> create(std::string name, Rect area, const FontRequest& font,
                                            Rgb colour, std::string& error);
    // A label on a font already open, which labels of one look share.
    static std::unique_ptr<TextLine> create(std::string name, Rect area,
                                            std::shared_ptr<fruvana::Font> font, Rgb colour);

    // The text, one line of UTF-8. A different text repaints the label.
    const std::string& caption() const { return caption_; }
    void setCaption(std::string_view text);

    // True (the default): grey-scale smoothed glyph edges; false: plain, fully on or off.
    bool antialiased() const { return antialiased_; }
    void setAntialiased(bool value);

    Rgb colour() const { return colour_; }
    void setColour(Rgb colour);

    // Reopens the font only when the request differs; on failure the old font stays, and the
    // reason is in error.
    const FontRequest& font() const { return font_->request(); }
    bool setFont(const FontRequest& request, std::string& error);

    Align alignment() const { return align_; }
    void setAlignment(Align align);

    void moveTo(int x, int y);
    Rect bounds() const override { return area_; }
    // Draws the text from the top of the label, aligned across it and cut off at its edges;
    // the background is not painted.
    void paint(Picture& target, const Rect& clip) const override;

    // Whether the whole text lies inside the label: a text wider than it is cut off.
    bool fits() const { return mask().width <= area_.w; }

    // How many times the text has been rendered into a mask.
    std::size_t renderCount() const { return renderCount_; }

  private:
    TextLine(std::string name, Rect area, std::shared_ptr<fruvana::Font> font, Rgb colour);
    // The rendered line for the current text, font and quality; rendered on first need.
    const TextMask& mask() const;
    void forgetMask();

    Rect area_;
    std::shared_ptr<fruvana::Font> font_;  // never null
    Rgb colour_;
    std::string caption_;
    bool antialiased_ = true;
    Align align_ = Align::Centre;
    mutable TextMask mask_;
    mutable bool maskValid_ = false;
    mutable std::size_t renderCount_ = 0;
};

}  // namespace fruvana
