#include "shell/preferences_screen.h"

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

std::string capitalised(std::string text) {
    if (!text.empty())
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text;
}

}  // namespace

PreferencesScreen::PreferencesScreen(EventLoop& loop, Preferences& preferences,
                                     InputBindings& bindings, SpeechOutput* speech)
    : loop_(loop), form_(preferences, bindings, speech) {}

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
    for (int s = 0; s < kSettingCount; ++s)
        panel_->addLabel(at(kSettingLabel, kSettingsTop + s * kSettingsStep),
                         settingLabel(static_cast<Setting>(s)), Align::Left, false);
    for (std::size_t a = 0; a < form_.actions().size(); ++a)
        panel_->addLabel(at(kColumns[0], kActionsTop + static_cast<int>(a) * kActionsStep),
                         capitalised(actionWords(form_.actions()[a])), Align::Left, false);
    for (const Item& item : form_.items()) {
        switch (item.kind) {
            case Item::Kind::Setting:
                panel_->addItem(at(kSettingValue, kSettingsTop + item.line * kSettingsStep),
                                Align::Centre);
                break;
            case Item::Kind::Input:
                panel_->addItem(at(kColumns[static_cast<std::size_t>(item.column)],
                                   kActionsTop + (item.line - kSettingCount) * kActionsStep),
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
    redraw();
    panel_->setVisible(true);
    loop_.pumpPending();
}

void PreferencesScreen::hide() {
    panel_->setVisible(false);
}

void PreferencesScreen::redraw() {
    for (std::size_t i = 0; i < form_.items().size(); ++i)
        panel_->setItemText(static_cast<int>(i), form_.valueText(form_.items()[i]));
    panel_->setMessage(form_.message());
    panel_->setFocus(static_cast<int>(form_.focus()));
}

void PreferencesScreen::move(FormMove move) {
    changed(form_.move(move));
}

void PreferencesScreen::click(int item, bool back) {
    changed(form_.click(static_cast<std::size_t>(item), back));
}

bool PreferencesScreen::capture(const Input& input) {
    if (!form_.capturing()) return false;
    changed(form_.capture(input));
    return true;
}

void PreferencesScreen::changed(PreferencesForm::Result result) {
    if (result == PreferencesForm::Result::Nothing) return;
    redraw();
    if (onChange) onChange(result);
}

}  // namespace fruvana
