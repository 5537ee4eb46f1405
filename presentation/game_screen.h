#pragma once
// The game window's pictures, made at start-up and placed for the screen: the tiled
// background, the cabinet and every picture on it at its offset from the cabinet's origin, in
// the game's painting order.

#include <array>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/picture.h"
#include "presentation/layout.h"
#include "presentation/picture_names.h"
#include "presentation/scene.h"

namespace fruvana {

// One entry of the game window's layers, in painting order.
struct GameLayerSpec {
    std::string_view name;
    // Catalogue name of the picture it starts with; empty for one that starts empty.
    std::string_view picture;
    // The place as an offset from the cabinet's origin.
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    bool visibleAtStart = false;
    bool seeThrough = false;
};

// Every picture layer of the game window, in painting order (the message line joins the scene
// beneath the intro picture and the intro line on top; see GameScreen::kMessageLineBefore).
std::span<const GameLayerSpec> gameLayerSpecs();

class GameScreen {
  public:
    // The message line is painted beneath the intro picture, the intro line above it.
    static constexpr std::string_view kMessageLineBefore = layers::kIntro;

    // Loads the pictures from the catalogue and lays them out for a screen of this size.
    // Null, with the name of the culprit in error, when a picture cannot be loaded.
    static std::unique_ptr<GameScreen> create(int screenWidth, int screenHeight,
                                              std::string& error);

    CabinetOrigin origin() const { return origin_; }
    TileGrid tiles() const { return tiles_; }
    Scene& scene() { return scene_; }
    const Scene& scene() const { return scene_; }

    // The picture layer of that name (see picture_names.h), or null.
    PictureLayer* layer(std::string_view name) const;
    // The rest position (top-left corner, window pixels) of a placed picture.
    Rect restPlace(std::string_view name) const;

    // The three spin strips of the reel animation, 122 x 1708 each, made once and reused.
    std::array<Picture, 3>& spinStrips() { return spinStrips_; }
    const std::array<Picture, 3>& spinStrips() const { return spinStrips_; }

    // Hides the intro picture and shows the cabinet, the lever, the push buttons and the three
    // reels, in that order.
    void showPlayArea();
    // Every picture layer shown or hidden as at start-up and at its rest place, the meters and
    // the lamps empty again, and the whole window to be repainted. The reels keep their
    // pictures, which the reveal of the cabinet draws afresh.
    void showStartLook();

  private:
    GameScreen(int screenWidth, int screenHeight);
    bool build(std::string& error);

    int screenWidth_;
    int screenHeight_;
    CabinetOrigin origin_;
    TileGrid tiles_;
    Scene scene_;
    std::array<Picture, 3> spinStrips_;
};

}  // namespace fruvana
