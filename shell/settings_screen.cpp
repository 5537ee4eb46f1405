#include "shell/settings_screen.h"

#include <optional>
#include <utility>

#include "presentation/asset_catalogue.h"
#include "presentation/cabinet_layout.h"
#include "presentation/picture_names.h"
#include "presentation/round_face.h"
#include "presentation/translation.h"
#include "shell/grid_layer.h"
#include "shell/statistics_table.h"

namespace fruvana {

namespace {

namespace L = layout;
namespace P = settings_pictures;

// A pressed button sinks by these many pixels.
constexpr int kOkTravel = 4;
constexpr int kSmallTravel = 2;
// The OK picture sits at the top left of a slightly larger box.
constexpr L::Extent kOkBox{73, 69};

std::string partName(std::string_view name) {
    return std::string(layers::kSettingsPrefix) + std::string(name);
}

}  // namespace

SettingsScreen::SettingsScreen(GameScreen& screen, EventLoop& loop, const MachineState& state)
    : screen_(screen), loop_(loop), state_(state), origin_(screen.origin()) {}

SettingsScreen::~SettingsScreen() = default;

std::unique_ptr<SettingsScreen> SettingsScreen::create(GameScreen& screen, EventLoop& loop,
                                                       const MachineState& state,
                                                       std::string& error) {
    std::unique_ptr<SettingsScreen> settings(new SettingsScreen(screen, loop, state));
    if (!settings->build(error)) return nullptr;
    return settings;
}

bool SettingsScreen::build(std::string& error) {
    auto load = [&](std::string_view name) {
        return loadPicture(AssetKind::SettingsPicture, name, error);
    };
    auto panel = load(P::kPanel);
    auto ok = load(P::kOkButton);
    auto reset = load(P::kResetButton);
    auto recall = load(P::kRecallButton);
    auto preferences = load(P::kPreferencesButton);
    auto on = load(P::kSwitchOn);
    auto off = load(P::kSwitchOff);
    if (!panel || !ok || !reset || !recall || !preferences || !on || !off) return false;
    switchOn_ = std::move(*on);
    switchOff_ = std::move(*off);

    Scene& scene = screen_.scene();
    auto addPicture = [&](std::string_view name, L::Offset at, L::Extent size, Picture picture) {
        auto layer = std::make_unique<PictureLayer>(
            partName(name), Rect{origin_.x + at.x, origin_.y + at.y, size.w, size.h});
        layer->setVisible(false);
        layer->setPicture(std::move(picture));
        PictureLayer* added = layer.get();
        scene.add(std::move(layer));
        return added;
    };
    panel_ = addPicture(P::kPanel, {0, 0}, L::kCabinet, std::move(*panel));
    for (std::size_t i = 0; i < switches_.size(); ++i)
        switches_[i] = addPicture(layers::kSwitches[i], L::kSwitchesAt[i], L::kSwitch, switchOff_);
    ok_ = addPicture(P::kOkButton, L::kOkAt, kOkBox, std::move(*ok));
    reset_ = addPicture(P::kResetButton, L::kResetAt, L::kSmallButton, std::move(*reset));
    recall_ = addPicture(P::kRecallButton, L::kRecallButtonAt, L::kSmallButton, std::move(*recall));
    preferences_ = addPicture(P::kPreferencesButton, L::kPreferencesButtonAt, L::kSmallButton,
                              std::move(*preferences));

    const Rect accountArea{origin_.x + L::kAccountAt.x, origin_.y + L::kAccountAt.y, L::kAccount.w,
                           L::kAccount.h};
    auto account = TextLine::create(partName(layers::kAccountLine), accountArea,
                                    FontRequest{std::string(kTableFamily), 13, true, false},
                                    kAccountColour, error);
    if (!account) return false;
    account->setAlignment(TextLine::Align::Right);
    account->setVisible(false);
    accountLine_ = account.get();
    scene.add(std::move(account));

    auto table = std::make_unique<GridLayer>(partName(layers::kStatisticsTable));
    table->setVisible(false);
    tableLayer_ = table.get();
    table_ = &table->grid();
    scene.add(std::move(table));
    error = setUpStatisticsTable(*table_, origin_.x + L::kStatisticsAt.x,
                                 origin_.y + L::kStatisticsAt.y);
    if (!error.empty()) return false;
    // The table's fonts are found now, so a missing one stops start-up with its reason and
    // the first opening of the screen does not search for them.
    if (!table_->openFonts()) {
        error = table_->fontError();
        return false;
    }
    return true;
}

bool SettingsScreen::visible() const {
    return panel_->visible();
}

Rect SettingsScreen::area() const {
    return {origin_.x, origin_.y, L::kCabinet.w, L::kCabinet.h};
}

bool SettingsScreen::switchLit(int row) const {
    if (row < 0 || row >= 5) return false;
    return switches_[static_cast<std::size_t>(row)]->picture() == switchOn_;
}

void SettingsScreen::show() {
    setPartsVisible(true);
    // The screen lies over the cabinet, whose place was fixed at start-up.
    showAccountAndStatistics();
    for (int row = 0; row < 5; ++row) showSwitch(row);
    loop_.pumpPending();
}

void SettingsScreen::hide() {
    setPartsVisible(false);
}

void SettingsScreen::setPartsVisible(bool visible) {
    panel_->setVisible(visible);
    for (PictureLayer* s : switches_) s->setVisible(visible);
    ok_->setVisible(visible);
    reset_->setVisible(visible);
    recall_->setVisible(visible);
    preferences_->setVisible(visible);
    accountLine_->setVisible(visible);
    tableLayer_->setVisible(visible);
}

void SettingsScreen::showAccountAndStatistics() {
    accountLine_->setCaption(std::to_string(state_.account));
    showStatistics(*table_, state_.statistics, state_.paytableMultipliers);
}

void SettingsScreen::showSwitch(int row) {
    if (row < 0 || row >= 5) return;
    const bool* option = optionOnScreenRow(state_.options, row);
    switches_[static_cast<std::size_t>(row)]->setPicture(*option != 0 ? switchOn_ : switchOff_);
}

SettingsScreen::ButtonPlace SettingsScreen::buttonPlace(Button button) const {
    switch (button) {
        case Button::SettingsOk:
            return {ok_, origin_.y + L::kOkAt.y, kOkTravel, L::kBigFaceCentre};
        case Button::SettingsReset:
            return {reset_, origin_.y + L::kResetAt.y, kSmallTravel, L::kSmallFaceCentre};
        case Button::SettingsRecall:
            return {recall_, origin_.y + L::kRecallButtonAt.y, kSmallTravel, L::kSmallFaceCentre};
        case Button::SettingsPreferences:
            return {preferences_, origin_.y + L::kPreferencesButtonAt.y, kSmallTravel,
                    L::kSmallFaceCentre};
        default:
            return {};
    }
}

void SettingsScreen::sinkButton(Button button) {
    const ButtonPlace b = buttonPlace(button);
    if (b.picture == nullptr) return;
    if (b.picture->y() == b.top) b.picture->moveTo(b.picture->x(), b.top + b.travel);
}

void SettingsScreen::liftButton(Button button) {
    const ButtonPlace b = buttonPlace(button);
    if (b.picture == nullptr || b.picture->y() != b.top + b.travel) return;
    b.picture->moveTo(b.picture->x(), b.top);
}

std::optional<ControlHit> SettingsScreen::controlAt(int x, int y) const {
    const Layer* layer = screen_.scene().layerAt(x, y);
    if (layer == nullptr) return std::nullopt;
    // The round faces touch their pictures' top and left edges.
    for (const Button button : {Button::SettingsOk, Button::SettingsReset, Button::SettingsRecall,
                                Button::SettingsPreferences}) {
        const ButtonPlace b = buttonPlace(button);
        if (layer == b.picture)
            return ControlHit{{ControlKind::Button, button},
                              insideCircle(x - b.picture->x(), y - b.picture->y(), b.face, b.face)};
    }
    for (std::size_t i = 0; i < switches_.size(); ++i) {
        if (layer == switches_[i])
            return ControlHit{{ControlKind::OptionSwitch, Button::Help, static_cast<int>(i)}};
    }
    return std::nullopt;
}

std::string SettingsScreen::spokenOnOpening() const {
    return tr("Settings and statistics.");
}

}  // namespace fruvana
