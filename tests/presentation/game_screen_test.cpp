// The game window composed by the headless back end: origins, the background tiles, and every
// picture at its place on screens of three sizes.

#include "presentation/game_screen.h"

#include <gtest/gtest.h>

#include "platform/headless_platform.h"
#include "presentation/asset_catalogue.h"
#include "presentation/cabinet_layout.h"
#include "tests/support/pictures.h"

namespace fruvana {
namespace {

// Places on the cabinet are written out as numbers, not taken from the layout table the screen
// is built from, so a wrong entry there shows here.
using layout::Offset;

using testing::gamePicture;

struct ScreenCase {
    int w;
    int h;
    CabinetOrigin origin;
    TileGrid tiles;
};

class ComposedScreen : public ::testing::TestWithParam<ScreenCase> {
  protected:
    void SetUp() override {
        const ScreenCase& c = GetParam();
        platform = std::make_unique<HeadlessPlatform>(HeadlessOptions{{c.w, c.h, 32}});
        ASSERT_TRUE(platform->openWindow("Fruvana"));
        std::string error;
        screen = GameScreen::create(c.w, c.h, error);
        ASSERT_TRUE(screen) << error;
    }

    const Picture& compose() {
        const std::vector<Rect> painted = screen->scene().paint(platform->backBuffer());
        platform->present(painted);
        return platform->frame();
    }

    // The screen pixel at an offset from the cabinet's origin.
    Rgb at(int dx, int dy) {
        const CabinetOrigin o = screen->origin();
        return platform->frame().pixel(o.x + dx, o.y + dy);
    }

    std::unique_ptr<HeadlessPlatform> platform;
    std::unique_ptr<GameScreen> screen;
    Picture fond = gamePicture("background_tile");
    Picture cabinet = gamePicture("cabinet");
};

TEST_P(ComposedScreen, StartsWithTheIntroOnTheTiledBackground) {
    const ScreenCase& c = GetParam();
    EXPECT_EQ(screen->origin(), c.origin);
    EXPECT_EQ(screen->tiles(), c.tiles);
    const Picture& frame = compose();
    ASSERT_EQ(frame.width(), c.w);
    // the background everywhere the intro does not cover, tile by tile
    for (auto [x, y] : {std::pair{0, 0}, {c.w - 1, c.h - 1}, {c.w / 2, 10}, {151, c.h - 2}})
        EXPECT_EQ(frame.pixel(x, y), fond.pixel(x % 150, y % 150)) << x << "," << y;
    // the intro's plaque stands at its place (200, 150), its navy ground shows the background
    const Picture intro = gamePicture("intro");
    const int ix = c.origin.x + 200;
    const int iy = c.origin.y + 150;
    EXPECT_EQ(frame.pixel(ix + 250, iy + 150), intro.pixel(250, 150));
    EXPECT_EQ(frame.pixel(ix + 2, iy + 2), fond.pixel((ix + 2) % 150, (iy + 2) % 150));
    // the cabinet and its controls are not shown yet
    EXPECT_EQ(at(365, 430), fond.pixel((c.origin.x + 365) % 150, (c.origin.y + 430) % 150));
}

TEST_P(ComposedScreen, ShowsThePlayAreaWithEveryPictureInPlace) {
    const ScreenCase& c = GetParam();
    compose();
    screen->showPlayArea();
    compose();
    // the see-through surroundings of the cabinet show the background
    for (auto [dx, dy] : {std::pair{2, 598}, {100, 560}, {790, 590}, {4, 4}}) {
        const int x = c.origin.x + dx;
        const int y = c.origin.y + dy;
        ASSERT_EQ(cabinet.pixel(dx, dy), (Rgb{0, 0, 0}));
        EXPECT_EQ(at(dx, dy), fond.pixel(x % 150, y % 150)) << dx << "," << dy;
    }
    // reels: white still pictures
    for (Offset r : {Offset{304, 369}, {446, 369}, {588, 369}}) {
        EXPECT_EQ(at(r.x, r.y), (Rgb{255, 255, 255}));
        EXPECT_EQ(at(r.x + 121, r.y + 121), (Rgb{255, 255, 255}));
    }
    // the lever and every button at its rest place
    struct Placed {
        const char* name;
        Offset at;
    };
    for (const Placed& p :
         {Placed{"lever", {737, 391}}, Placed{"help_button", {80, 285}},
          Placed{"exit_button", {180, 285}}, Placed{"bet_down_button", {51, 456}},
          Placed{"bet_up_button", {95, 456}}, Placed{"coin_button", {730, 61}},
          Placed{"collect_button", {740, 146}}, Placed{"settings_button", {740, 216}},
          Placed{"autoplay_button", {740, 286}}}) {
        const Picture pic = gamePicture(p.name);
        for (auto [x, y] :
             {std::pair{26, 26}, {16, 16}, {10, 30}, {pic.width() - 1, pic.height() - 1}})
            EXPECT_EQ(at(p.at.x + x, p.at.y + y), pic.pixel(x, y))
                << p.name << " " << x << "," << y;
        const Rect rest = screen->restPlace(p.name);
        EXPECT_EQ(rest.x, c.origin.x + p.at.x) << p.name;
        EXPECT_EQ(rest.y, c.origin.y + p.at.y) << p.name;
    }
    // empty meters (bet, credit, win, prize 1 and 4) and lamps (1 and 3) show the cabinet's
    // windows
    for (Offset m :
         {Offset{77, 394}, {158, 394}, {158, 464}, {645, 86}, {645, 296}, {320, 519}, {604, 519}})
        EXPECT_EQ(at(m.x + 5, m.y + 5), cabinet.pixel(m.x + 5, m.y + 5)) << m.x << "," << m.y;
    // the intro is gone
    EXPECT_EQ(at(450, 160), cabinet.pixel(450, 160));
}

TEST_P(ComposedScreen, ALitLampAndAMeterDrawOverTheCabinet) {
    compose();
    screen->showPlayArea();
    PictureLayer* lamp = screen->layer("lamp2");
    ASSERT_NE(lamp, nullptr);
    const Picture lampRed = gamePicture("lamp_red");
    lamp->setPicture(lampRed);
    PictureLayer* credit = screen->layer("credit");
    ASSERT_NE(credit, nullptr);
    Picture digits(130, 18);
    digits.fill({15, 50, 84});
    credit->setPicture(digits);
    compose();
    // lamp 2 at (462, 519), the credit meter at (158, 394)
    EXPECT_EQ(at(462 + 46, 519 + 7), lampRed.pixel(46, 7));
    // its blue corners are cut away
    EXPECT_EQ(at(462, 519), cabinet.pixel(462, 519));
    EXPECT_EQ(at(158 + 90, 394 + 17), (Rgb{15, 50, 84}));
    // but no further than the meter's width
    EXPECT_EQ(at(158 + 92, 394 + 5), cabinet.pixel(158 + 92, 394 + 5));
}

INSTANTIATE_TEST_SUITE_P(Screens, ComposedScreen,
                         ::testing::Values(ScreenCase{800, 600, {0, 0}, {6, 5}},
                                           ScreenCase{1024, 768, {112, 84}, {7, 6}},
                                           ScreenCase{1280, 1024, {240, 212}, {9, 7}}),
                         [](const auto& info) {
                             return std::to_string(info.param.w) + "x" +
                                    std::to_string(info.param.h);
                         });

TEST(GameScreen, LayersFollowThePaintingOrder) {
    std::string order;
    for (const GameLayerSpec& s : gameLayerSpecs()) order += std::string(s.name) + " ";
    EXPECT_EQ(order,
              "background cabinet reel1 reel2 reel3 lever help_button exit_button "
              "bet_down_button bet_up_button win credit bet prize1 prize2 prize3 prize4 lamp1 "
              "lamp2 coin_button collect_button settings_button autoplay_button lamp3 intro ");
}

TEST(GameScreen, ASmallScreenStillGetsItsLayout) {
    std::string error;
    auto screen = GameScreen::create(640, 480, error);
    ASSERT_TRUE(screen) << error;
    EXPECT_EQ(screen->origin(), (CabinetOrigin{-80, -60}));
    EXPECT_EQ(screen->restPlace("reel1").x, -80 + 304);
    EXPECT_EQ(screen->restPlace("nothing").w, 0);
    EXPECT_EQ(screen->spinStrips()[2].height(), 1708);
    // Every reel starts with the same blank picture.
    EXPECT_EQ(screen->layer("reel2")->picture(), screen->layer("reel1")->picture());
}

}  // namespace
}  // namespace fruvana
