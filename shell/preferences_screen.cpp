#include "shell/preferences_screen.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "presentation/asset_catalogue.h"
#include "presentation/cabinet_layout.h"
#include "presentation/picture_names.h"
#include "presentation/translation.h"

namespace fruvana {

namespace {

namespace L = layout;
using Align = TextLine::Align;
using Item = PreferencesForm::Item;

// Places on the panel, from the cabinet's top left corner.
constexpr int kRowHeight = 18;
constexpr int kSettingsTop = 116;
constexpr int kSettingsStep = 36;
constexpr int kActionsTop = 110;
constexpr int kActionsStep = 23;
// The controls' columns: the action's words, two keys, the controller button.
constexpr std::array<Rect, 4> kColumns{Rect{408, 0, 132, kRowHeight}, Rect{544, 0, 58, kRowHeight},
                                       Rect{606, 0, 58, kRowHeight}, Rect{668, 0, 104, kRowHeight}};
constexpr Rect kSettingLabel{44, 0, 200, kRowHeight};
constexpr Rect kSettingValue{250, 0, 130, kRowHeight};
constexpr Rect kMessage{30, 452, 740, kRowHeight};
constexpr Rect kDefaults{436, 522, 120, kRowHeight};
constexpr Rect kOk{626, 522, 120, kRowHeight};
// The preference lines the panel has room for; more scroll.
constexpr int kPreferenceSlots = 9;

std::string capitalised(std::string text) {
    if (!text.empty())
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text;
}

}  // namespace

PreferencesScreen::PreferencesScreen(EventLoop& loop, Preferences& preferences,
                                     InputBindings& bindings, SpeechOutput* speech)
    : loop_(loop),
      form_(preferences, bindings, speech),
      rows_(static_cast<int>(preferenceTable().size())),
      slots_(std::min(rows_, kPreferenceSlots)) {}

std::unique_ptr<PreferencesScreen> PreferencesScreen::create(GameScreen& screen, EventLoop& loop,
                                                             Preferences& preferences,
                                                             InputBindings& bindings,
                                                             SpeechOutput* speech,
                                                             std::string& error) {
    std::unique_ptr<PreferencesScreen> made(
        new PreferencesScreen(loop, preferences, bindings, speech));
    if (!made->build(screen, error)) return nullptr;
    return made;
}

bool PreferencesScreen::build(GameScreen& screen, std::string& error) {
    auto picture = loadPicture(AssetKind::PreferencesPicture, preferences_pictures::kPanel, error);
    if (!picture) return false;
    const CabinetOrigin o = screen.origin();
    auto at = [&](Rect r, int y) { return Rect{o.x + r.x, o.y + (y < 0 ? r.y : y), r.w, r.h}; };
    panel_ =
        FormPanel::create(screen.scene(), std::string(layers::kPreferencesPrefix),
                          Rect{o.x, o.y, L::kCabinet.w, L::kCabinet.h}, std::move(*picture), error);
    if (!panel_) return false;
    panel_->addLabel(at(kSettingLabel, 84), tr("Sound and play"), Align::Left, true);
    panel_->addLabel(at(kColumns[0], 84), tr("Controls"), Align::Left, true);
    panel_->addLabel(at(kColumns[1], 84), tr("Key"), Align::Centre, true);
    panel_->addLabel(at(kColumns[2], 84), tr("Key"), Align::Centre, true);
    panel_->addLabel(at(kColumns[3], 84), tr("Controller"), Align::Centre, true);
    for (int s = 0; s < slots_; ++s)
        slotLabels_.push_back(panel_->addLabel(at(kSettingLabel, kSettingsTop + s * kSettingsStep),
                                               "", Align::Left, false));
    for (std::size_t a = 0; a < form_.actions().size(); ++a)
        panel_->addLabel(at(kColumns[0], kActionsTop + static_cast<int>(a) * kActionsStep),
                         capitalised(actionWords(form_.actions()[a])), Align::Left, false);
    for (const Item& item : form_.items()) {
        switch (item.kind) {
            case Item::Kind::Preference:
                // One item per slot, shown by the rows scrolled into it.
                if (item.line < slots_)
                    panel_->addItem(at(kSettingValue, kSettingsTop + item.line * kSettingsStep),
                                    Align::Centre);
                break;
            case Item::Kind::Input:
                panel_->addItem(at(kColumns[static_cast<std::size_t>(item.column)],
                                   kActionsTop + (item.line - rows_) * kActionsStep),
                                Align::Centre);
                break;
            case Item::Kind::Defaults:
                panel_->addItem(at(kDefaults, -1), Align::Centre);
                break;
            case Item::Kind::Ok:
                panel_->addItem(at(kOk, -1), Align::Centre);
                break;
        }
    }
    panel_->setMessagePlace(at(kMessage, -1));
    return true;
}

void PreferencesScreen::show() {
    form_.reset();
    first_ = 0;
    redraw();
    panel_->setVisible(true);
    loop_.pumpPending();
}

void PreferencesScreen::hide() {
    panel_->setVisible(false);
}

int firstShownLine(int first, int focused, int lines, int slots) {
    if (focused >= 0 && focused < lines) {
        if (focused < first) first = focused;
        if (focused >= first + slots) first = focused - slots + 1;
    }
    return std::clamp(first, 0, std::max(lines - slots, 0));
}

int PreferencesScreen::panelItem(std::size_t formItem) const {
    const auto i = static_cast<int>(formItem);
    if (i >= rows_) return i - rows_ + slots_;
    const int slot = i - first_;
    return slot >= 0 && slot < slots_ ? slot : -1;
}

std::size_t PreferencesScreen::formItem(int panelItem) const {
    return static_cast<std::size_t>(panelItem < slots_ ? panelItem + first_
                                                       : panelItem - slots_ + rows_);
}

void PreferencesScreen::redraw() {
    const auto& items = form_.items();
    const std::size_t focus = form_.focus();
    first_ =
        firstShownLine(first_, items[focus].kind == Item::Kind::Preference ? items[focus].line : -1,
                       rows_, slots_);
    for (int s = 0; s < slots_; ++s)
        panel_->setLabelText(
            slotLabels_[static_cast<std::size_t>(s)],
            tr(preferenceTable()[static_cast<std::size_t>(first_) + static_cast<std::size_t>(s)]
                   .label));
    for (std::size_t i = 0; i < items.size(); ++i)
        if (const int shown = panelItem(i); shown >= 0)
            panel_->setItemText(shown, form_.valueText(items[i]));
    panel_->setMessage(form_.message());
    panel_->setFocus(panelItem(focus));
}

void PreferencesScreen::move(FormMove move) {
    changed(form_.move(move));
}

void PreferencesScreen::click(int item, bool back) {
    changed(form_.click(formItem(item), back));
}

bool PreferencesScreen::capture(const Input& input) {
    if (!form_.capturing()) return false;
    changed(form_.capture(input));
    return true;
}

std::string PreferencesScreen::spokenOnOpening() const {
    return tr(GameText{translatable("Preferences. %s"), {form_.focusText()}});
}

void PreferencesScreen::changed(PreferencesForm::Result result) {
    using Result = PreferencesForm::Result;
    const bool moved = result == Result::Focus || result == Result::Value;
    spokenAfterMove_ = result == Result::Nothing ? std::string()
                       : moved                   ? form_.focusText()
                                                 : form_.message();
    if (result == Result::Nothing) return;
    redraw();
    if (onChange) onChange(result);
}

}  // namespace fruvana
