#include "presentation/game_screen.h"

#include <array>

#include "platform/platform.h"
#include "presentation/asset_catalogue.h"
#include "presentation/cabinet_layout.h"

namespace fruvana {

namespace {

namespace L = layout;

constexpr GameLayerSpec source(std::string_view name) {
    return {name, name, 0, 0, 0, 0, false, false, false};
}

constexpr GameLayerSpec at(std::string_view name, std::string_view picture, L::Offset o,
                           L::Extent e, bool visible, bool seeThrough = false) {
    return {name, picture, o.x, o.y, e.w, e.h, true, visible, seeThrough};
}

constexpr std::array kSpecs = {
    // fondx is the size of the screen; its place and size are filled in when it is made.
    GameLayerSpec{"fondx", "", 0, 0, 0, 0, true, true, false},
    source("Image1"),
    at("Image2", "Image2", {0, 0}, L::kCabinet, false, true),
    source("Image3"),
    source("Image4"),
    at("Image5", "Image5", L::kReelsAt[0], L::kReel, false),
    at("Image6", "Image5", L::kReelsAt[1], L::kReel, false),
    at("Image7", "Image5", L::kReelsAt[2], L::kReel, false),
    at("Image8", "Image8", L::kLeverAt, L::kBigButton, false),
    source("fond"),
    source("zece"),
    at("Image9", "Image9", L::kHelpAt, L::kBigButton, false),
    at("Image10", "Image10", L::kExitAt, L::kBigButton, false),
    at("Image11", "Image11", L::kBetDownAt, L::kSmallButton, false),
    at("Image12", "Image12", L::kBetUpAt, L::kSmallButton, false),
    at("win", "", L::kWinMeterAt, L::kWideMeter, true),
    at("credit", "", L::kCreditMeterAt, L::kWideMeter, true),
    at("bet", "", L::kBetMeterAt, L::kBetMeter, true),
    at("m1", "", L::kPrizeMetersAt[0], L::kPrizeMeter, true),
    at("m2", "", L::kPrizeMetersAt[1], L::kPrizeMeter, true),
    at("m3", "", L::kPrizeMetersAt[2], L::kPrizeMeter, true),
    at("m4", "", L::kPrizeMetersAt[3], L::kPrizeMeter, true),
    at("lamp1", "", L::kLampsAt[0], L::kLamp, true, true),
    at("lamp2", "", L::kLampsAt[1], L::kLamp, true, true),
    at("coin", "coin", L::kCoinAt, L::kBigButton, false),
    at("anulare", "anulare", L::kCollectAt, L::kSmallButton, false),
    at("tune", "tune", L::kSettingsAt, L::kSmallButton, false),
    at("autoplay", "autoplay", L::kAutoplayAt, L::kSmallButton, false),
    source("lampv"),
    source("lampr"),
    at("lamp3", "", L::kLampsAt[2], L::kLamp, true, true),
    at("intro", "intro", L::kIntroAt, L::kIntro, true, true),
};

// The order in which the end of the intro shows the play area.
constexpr std::array<std::string_view, 13> kPlayArea = {
    "Image2", "Image8",  "Image9", "Image10", "Image11", "Image12", "autoplay",
    "tune",   "anulare", "coin",   "Image5",  "Image6",  "Image7"};

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
        auto image = findAsset(AssetKind::GamePicture, name);
        std::optional<Picture> loaded = image ? loadBmp(*image) : std::nullopt;
        if (!loaded) error = "the picture " + std::string(name) + " cannot be loaded";
        return loaded;
    };
    const std::optional<Picture> tile = load("fond");
    if (!tile) return false;
    for (const GameLayerSpec& spec : kSpecs) {
        Picture picture;
        Rect area{origin_.x + spec.x, origin_.y + spec.y, spec.w, spec.h};
        if (spec.name == "fondx") {
            // The background: the whole screen covered with wave tiles.
            picture = Picture(screenWidth_, screenHeight_);
            tileBackground(*tile, picture);
            area = {0, 0, screenWidth_, screenHeight_};
        } else if (!spec.picture.empty()) {
            std::optional<Picture> loaded = load(spec.picture);
            if (!loaded) return false;
            picture = std::move(*loaded);
        }
        if (!spec.placed) area = {0, 0, picture.width(), picture.height()};
        auto layer = std::make_unique<PictureLayer>(std::string(spec.name), area, spec.seeThrough);
        layer->setVisible(spec.visibleAtStart && spec.placed);
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
    if (spec == nullptr || !spec->placed) return {};
    if (spec->name == "fondx") return {0, 0, screenWidth_, screenHeight_};
    return {origin_.x + spec->x, origin_.y + spec->y, spec->w, spec->h};
}

void GameScreen::showPlayArea() {
    if (PictureLayer* intro = layer("intro")) intro->setVisible(false);
    for (std::string_view name : kPlayArea)
        if (PictureLayer* l = layer(name)) l->setVisible(true);
}

}  // namespace fruvana
