#pragma once
// The drawn part of a form over the cabinet: its panel picture, fixed labels, and items of text
// that take the focus, the focused one on a lit bar. The preferences screen and the reality
// check are made of one each.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/controls.h"
#include "platform/text.h"
#include "presentation/components/text_line.h"
#include "presentation/scene.h"

namespace fruvana {

class FormPanel {
  public:
    // Adds the panel picture over area to the scene, hidden; its labels and items follow it.
    // Null with the reason in error when the fonts cannot be opened.
    static std::unique_ptr<FormPanel> create(Scene& scene, std::string prefix, Rect area,
                                             Picture panel, std::string& error);

    // A text that takes no focus; places are in window pixels. Its index, for a text that
    // changes (a scrolled line's label).
    int addLabel(Rect place, std::string_view text, TextLine::Align align, bool heading);
    void setLabelText(int label, std::string_view text);
    // An item that takes the focus; its index.
    int addItem(Rect place, TextLine::Align align);
    void setItemText(int item, std::string_view text);
    const std::string& itemText(int item) const;
    // The message line's text (one per panel, made by setMessagePlace).
    void setMessagePlace(Rect place);
    void setMessage(std::string_view text);
    const std::string& message() const;
    // Moves the lit bar under the item.
    void setFocus(int item);
    int focus() const { return focus_; }
    // The item under the window point while the panel is shown, as a control of its form.
    std::optional<ControlHit> controlAt(int x, int y) const;

    void setVisible(bool visible);
    bool visible() const { return panel_->visible(); }
    Rect area() const { return panel_->bounds(); }

  private:
    FormPanel(Scene& scene, std::string prefix);
    TextLine& addText(Rect place, TextLine::Align align, bool heading);

    Scene& scene_;
    std::string prefix_;
    std::shared_ptr<Font> plain_;
    std::shared_ptr<Font> bold_;
    PictureLayer* panel_ = nullptr;
    PictureLayer* bar_ = nullptr;
    std::vector<TextLine*> labels_;
    std::vector<TextLine*> items_;
    TextLine* message_ = nullptr;
    int focus_ = -1;
};

}  // namespace fruvana
