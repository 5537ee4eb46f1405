#include "presentation/game_screen.h"

#include <array>

#include "engine/services.h"
#include "platform/platform.h"
#include "presentation/asset_catalogue.h"
#include "presentation/cabinet_layout.h"
#include "presentation/picture_names.h"

namespace fruvana {

namespace {

namespace L = layout;

constexpr GameLayerSpec at(std::string_view name, std::string_view picture, L::Offset o,
                           L::Extent e, bool visible, bool seeThrough = false) {
    return {name, picture, o.x, o.y, e.w, e.h, visible, seeThrough};
}
constexpr GameLayerSpec button(std::string_view picture, L::Offset o, L::Extent e) {
    return at(picture, picture, o, e, false);
}
constexpr GameLayerSpec meter(Meter m, L::Offset o, L::Extent e) {
    return at(layers::kMeters[static_cast<std::size_t>(m)], "", o, e, true);
}
constexpr GameLayerSpec lamp(std::size_t n) {
    return at(layers::kLamps[n], "", L::kLampsAt[n], L::kLamp, true, true);
}
constexpr GameLayerSpec reel(std::size_t n) {
    return at(layers::kReels[n], pictures::kReel, L::kReelsAt[n], L::kReel, false);
}

namespace P = pictures;

constexpr std::array kSpecs = {
    // The background is the size of the screen; its place and size are filled in when it is
    // made.
    GameLayerSpec{layers::kBackground, "", 0, 0, 0, 0, true, false},
    at(layers::kCabinet, P::kCabinet, {0, 0}, L::kCabinet, false, true),
    reel(0),
    reel(1),
    reel(2),
    button(P::kLever, L::kLeverAt, L::kBigButton),
    button(P::kHelpButton, L::kHelpAt, L::kBigButton),
    button(P::kExitButton, L::kExitAt, L::kBigButton),
    button(P::kBetDownButton, L::kBetDownAt, L::kSmallButton),
    button(P::kBetUpButton, L::kBetUpAt, L::kSmallButton),
    meter(Meter::Win, L::kWinMeterAt, L::kWideMeter),
    meter(Meter::Credit, L::kCreditMeterAt, L::kWideMeter),
    meter(Meter::Bet, L::kBetMeterAt, L::kBetMeter),
    meter(Meter::Prize1, L::kPrizeMetersAt[0], L::kPrizeMeter),
    meter(Meter::Prize2, L::kPrizeMetersAt[1], L::kPrizeMeter),
    meter(Meter::Prize3, L::kPrizeMetersAt[2], L::kPrizeMeter),
    meter(Meter::Prize4, L::kPrizeMetersAt[3], L::kPrizeMeter),
    lamp(0),
    lamp(1),
    button(P::kCoinButton, L::kCoinAt, L::kBigButton),
    button(P::kCollectButton, L::kCollectAt, L::kSmallButton),
    button(P::kSettingsButton, L::kSettingsAt, L::kSmallButton),
    button(P::kAutoplayButton, L::kAutoplayAt, L::kSmallButton),
    lamp(2),
    at(layers::kIntro, P::kIntro, L::kIntroAt, L::kIntro, true, true),
};

// The order in which the end of the intro shows the play area.
constexpr std::array<std::string_view, 13> kPlayArea = {
    layers::kCabinet,  P::kLever,          P::kHelpButton,     P::kExitButton,    P::kBetDownButton,
    P::kBetUpButton,   P::kAutoplayButton, P::kSettingsButton, P::kCollectButton, P::kCoinButton,
    layers::kReels[0], layers::kReels[1],  layers::kReels[2]};

const GameLayerSpec* specFor(std::string_view name) {
    for (const GameLayerSpec& s : kSpecs)
        if (s.name == name) return &s;
    return nullptr;
}

}  // namespace

std::span<const GameLayerSpec> gameLayerSpecs() {
    return kSpecs;
}

GameScreen::GameScreen(int screenWidth, int screenHeight)
    : screenWidth_(screenWidth),
      screenHeight_(screenHeight),
      origin_(cabinetOrigin(screenWidth, screenHeight)),
      tiles_(backgroundTiles(screenWidth, screenHeight)) {}

std::unique_ptr<GameScreen> GameScreen::create(int screenWidth, int screenHeight,
                                               std::string& error) {
    std::unique_ptr<GameScreen> screen(new GameScreen(screenWidth, screenHeight));
    if (!screen->build(error)) return nullptr;
    return screen;
}

bool GameScreen::build(std::string& error) {
    auto load = [&](std::string_view name) {
        return loadPicture(AssetKind::GamePicture, name, error);
    };
    const std::optional<Picture> tile = load(P::kBackgroundTile);
    if (!tile) return false;
    for (const GameLayerSpec& spec : kSpecs) {
        Picture picture;
        Rect area{origin_.x + spec.x, origin_.y + spec.y, spec.w, spec.h};
        if (spec.name == layers::kBackground) {
            // The background: the whole screen covered with wave tiles.
            picture = Picture(screenWidth_, screenHeight_);
            tileBackground(*tile, picture);
            area = {0, 0, screenWidth_, screenHeight_};
        } else if (!spec.picture.empty()) {
            std::optional<Picture> loaded = load(spec.picture);
            if (!loaded) return false;
            picture = std::move(*loaded);
        }
        auto layer = std::make_unique<PictureLayer>(std::string(spec.name), area, spec.seeThrough);
        layer->setVisible(spec.visibleAtStart);
        layer->setPicture(std::move(picture));
        scene_.add(std::move(layer));
    }
    for (Picture& strip : spinStrips_) strip = Picture(L::kReel.w, L::kReel.h * 14);
    scene_.invalidate({0, 0, screenWidth_, screenHeight_});
    return true;
}

PictureLayer* GameScreen::layer(std::string_view name) const {
    return dynamic_cast<PictureLayer*>(scene_.find(name));
}

Rect GameScreen::restPlace(std::string_view name) const {
    const GameLayerSpec* spec = specFor(name);
    if (spec == nullptr) return {};
    if (spec->name == layers::kBackground) return {0, 0, screenWidth_, screenHeight_};
    return {origin_.x + spec->x, origin_.y + spec->y, spec->w, spec->h};
}

void GameScreen::showPlayArea() {
    if (PictureLayer* intro = layer(layers::kIntro)) intro->setVisible(false);
    for (std::string_view name : kPlayArea)
        if (PictureLayer* l = layer(name)) l->setVisible(true);
}

void GameScreen::showStartLook() {
    for (const GameLayerSpec& spec : kSpecs) {
        PictureLayer* l = layer(spec.name);
        if (l == nullptr) continue;
        l->setVisible(spec.visibleAtStart);
        if (spec.name == layers::kBackground) continue;
        l->moveTo(origin_.x + spec.x, origin_.y + spec.y);
        if (spec.picture.empty()) l->clear();
    }
    scene_.invalidate({0, 0, screenWidth_, screenHeight_});
}

}  // namespace fruvana
