#include "shell/form_panel.h"

#include <utility>

namespace fruvana {

namespace {

constexpr Rgb kLabelColour{220, 226, 236};
constexpr Rgb kHeadingColour{255, 208, 90};
constexpr Rgb kItemColour{255, 255, 255};
// The focused item: dark text on a gold bar, so the focus reads at a glance and without colour.
constexpr Rgb kFocusText{16, 20, 40};
constexpr Rgb kFocusBar{255, 190, 60};
constexpr int kFontHeight = 14;

}  // namespace

FormPanel::FormPanel(Scene& scene, std::string prefix)
    : scene_(scene), prefix_(std::move(prefix)) {}

std::unique_ptr<FormPanel> FormPanel::create(Scene& scene, std::string prefix, Rect area,
                                             Picture panel, std::string& error) {
    std::unique_ptr<FormPanel> form(new FormPanel(scene, std::move(prefix)));
    form->plain_ =
        Font::open(FontRequest{std::string(kLineFamily), kFontHeight, false, false}, error);
    form->bold_ =
        Font::open(FontRequest{std::string(kLineFamily), kFontHeight, true, false}, error);
    if (!form->plain_ || !form->bold_) return nullptr;
    auto picture = std::make_unique<PictureLayer>(form->prefix_ + "panel", area);
    picture->setPicture(std::move(panel));
    picture->setVisible(false);
    form->panel_ = picture.get();
    scene.add(std::move(picture));
    // The bar's layer is as large as the widest item's bar; each bar is drawn from its corner.
    auto bar = std::make_unique<PictureLayer>(form->prefix_ + "focus", Rect{0, 0, 400, 40});
    bar->setVisible(false);
    form->bar_ = bar.get();
    scene.add(std::move(bar));
    return form;
}

TextLine& FormPanel::addText(Rect place, TextLine::Align align, bool heading) {
    auto line = TextLine::create(prefix_ + std::to_string(labels_.size() + items_.size()), place,
                                 heading ? bold_ : plain_, heading ? kHeadingColour : kLabelColour);
    line->setAlignment(align);
    line->setVisible(panel_->visible());
    TextLine& added = *line;
    scene_.add(std::move(line));
    return added;
}

int FormPanel::addLabel(Rect place, std::string_view text, TextLine::Align align, bool heading) {
    TextLine& label = addText(place, align, heading);
    label.setCaption(text);
    labels_.push_back(&label);
    return static_cast<int>(labels_.size()) - 1;
}

void FormPanel::setLabelText(int label, std::string_view text) {
    labels_.at(static_cast<std::size_t>(label))->setCaption(text);
}

int FormPanel::addItem(Rect place, TextLine::Align align) {
    TextLine& item = addText(place, align, true);
    item.setColour(kItemColour);
    items_.push_back(&item);
    return static_cast<int>(items_.size()) - 1;
}

void FormPanel::setItemText(int item, std::string_view text) {
    items_.at(static_cast<std::size_t>(item))->setCaption(text);
}

const std::string& FormPanel::itemText(int item) const {
    return items_.at(static_cast<std::size_t>(item))->caption();
}

void FormPanel::setMessagePlace(Rect place) {
    message_ = &addText(place, TextLine::Align::Centre, false);
    labels_.push_back(message_);
}

void FormPanel::setMessage(std::string_view text) {
    if (message_ != nullptr) message_->setCaption(text);
}

const std::string& FormPanel::message() const {
    static const std::string kNone;
    return message_ != nullptr ? message_->caption() : kNone;
}

void FormPanel::setFocus(int item) {
    if (item == focus_ || item < 0 || item >= static_cast<int>(items_.size())) return;
    if (focus_ >= 0) items_[static_cast<std::size_t>(focus_)]->setColour(kItemColour);
    focus_ = item;
    TextLine& focused = *items_[static_cast<std::size_t>(item)];
    focused.setColour(kFocusText);
    // The bar reaches a little beyond the text's place on every side.
    const Rect at = focused.bounds();
    Picture bar(at.w + 8, at.h + 4);
    bar.fill(kFocusBar);
    bar_->setPicture(std::move(bar));
    bar_->moveTo(at.x - 4, at.y - 2);
}

std::optional<ControlHit> FormPanel::controlAt(int x, int y) const {
    if (!visible()) return std::nullopt;
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i]->bounds().contains(x, y))
            return ControlHit{{ControlKind::FormItem, Button::Help, static_cast<int>(i)}};
    return std::nullopt;
}

void FormPanel::setVisible(bool visible) {
    panel_->setVisible(visible);
    bar_->setVisible(visible);
    for (TextLine* line : labels_) line->setVisible(visible);
    for (TextLine* line : items_) line->setVisible(visible);
}

}  // namespace fruvana
