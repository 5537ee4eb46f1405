// The pictures and sounds as the game finds them in its catalogue: sizes, see-through colours,
// the reel band, the digit colours, the lamps, the cabinet drawn for the layout, and the
// lengths and format of the sounds.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <deque>
#include <set>
#include <string>

#include "platform/audio.h"
#include "platform/platform.h"
#include "presentation/asset_catalogue.h"
#include "presentation/cabinet_layout.h"
#include "tests/support/files.h"
#include "tests/support/pictures.h"

namespace fruvana {
namespace {

namespace L = layout;

using testing::assetPicture;
using testing::gamePicture;

struct SizeCase {
    AssetKind kind;
    const char* name;
    int w;
    int h;
};

class PictureSize : public ::testing::TestWithParam<SizeCase> {};

TEST_P(PictureSize, IsExactAndStoredAs24BitBitmap) {
    const SizeCase& c = GetParam();
    auto bytes = findAsset(c.kind, c.name);
    ASSERT_TRUE(bytes);
    ASSERT_GE(bytes->size(), 54u);
    EXPECT_EQ(testing::leAt(*bytes, 28, 2), 24u) << "bits per pixel";
    EXPECT_EQ(testing::leAt(*bytes, 30, 4), 0u) << "compression";
    const Picture p = assetPicture(c.kind, c.name);
    EXPECT_EQ(p.width(), c.w);
    EXPECT_EQ(p.height(), c.h);
}

constexpr AssetKind G = AssetKind::GamePicture;
constexpr AssetKind S = AssetKind::SettingsPicture;
constexpr AssetKind R = AssetKind::RecallPicture;
constexpr AssetKind P = AssetKind::PreferencesPicture;

INSTANTIATE_TEST_SUITE_P(
    Catalogue, PictureSize,
    ::testing::Values(SizeCase{G, "background_tile", 150, 150}, SizeCase{G, "cabinet", 800, 600},
                      SizeCase{G, "intro", 400, 300}, SizeCase{G, "reel_strip", 122, 1464},
                      SizeCase{G, "reel_blur_1", 122, 122}, SizeCase{G, "reel_blur_2", 122, 122},
                      SizeCase{G, "reel", 122, 122}, SizeCase{G, "lever", 63, 63},
                      SizeCase{G, "help_button", 63, 63}, SizeCase{G, "exit_button", 63, 63},
                      SizeCase{G, "coin_button", 63, 63}, SizeCase{G, "bet_down_button", 41, 41},
                      SizeCase{G, "bet_up_button", 41, 41}, SizeCase{G, "collect_button", 41, 41},
                      SizeCase{G, "settings_button", 41, 41},
                      SizeCase{G, "autoplay_button", 41, 41}, SizeCase{G, "digits", 130, 18},
                      SizeCase{G, "lamp_red", 93, 15}, SizeCase{G, "lamp_green", 93, 15},
                      SizeCase{G, "lamp_red_shaped", 93, 15},
                      SizeCase{G, "lamp_green_shaped", 93, 15}, SizeCase{S, "panel", 800, 600},
                      SizeCase{S, "ok_button", 63, 63}, SizeCase{S, "reset_button", 41, 41},
                      SizeCase{S, "switch_on", 20, 20}, SizeCase{S, "switch_off", 20, 20},
                      SizeCase{S, "recall_button", 41, 41},
                      SizeCase{S, "preferences_button", 41, 41}, SizeCase{R, "panel", 800, 600},
                      SizeCase{P, "panel", 800, 600}, SizeCase{P, "reality_check", 520, 200}),
    [](const auto& info) {
        const AssetKind k = info.param.kind;
        return std::string(k == G   ? "game_"
                           : k == S ? "settings_"
                           : k == R ? "recall_"
                                    : "preferences_") +
               info.param.name;
    });

TEST(Catalogue, HoldsEveryAssetOnceAndNothingElse) {
    std::set<std::pair<AssetKind, std::string_view>> seen;
    std::size_t translatedParts = 0;
    for (const EmbeddedAsset& a : embeddedAssets()) {
        EXPECT_TRUE(seen.insert({a.kind, a.name}).second) << a.name;
        EXPECT_GT(a.bytes().size(), 44u) << a.name;
        translatedParts += a.kind == AssetKind::TranslatedPart ? 1 : 0;
    }
    // and the window's icon
    EXPECT_EQ(seen.size() - translatedParts, 21u + 7u + 1u + 2u + 14u + 1u);
    EXPECT_FALSE(findAsset(G, "reel2"));
    EXPECT_FALSE(findAsset(AssetKind::Sound, "cabinet"));
    EXPECT_FALSE(findAsset(G, ""));
}

TEST(Catalogue, TheWindowIconIsABadgeOnASeeThroughGround) {
    const Picture icon = assetPicture(AssetKind::Icon, "fruvana");
    ASSERT_EQ(icon.width(), 64);
    ASSERT_EQ(icon.height(), 64);
    const Rgb key = icon.pixel(0, 63);
    EXPECT_EQ(icon.pixel(0, 0), key);
    EXPECT_EQ(icon.pixel(63, 0), key);
    for (auto [x, y] : {std::pair{32, 32}, {10, 32}, {32, 4}}) EXPECT_NE(icon.pixel(x, y), key);
}

// Pixels of the key colour reachable from the picture's edge through key pixels.
int keyPixelsReachableFromEdge(const Picture& p, Rgb key) {
    std::vector<char> seen(
        static_cast<std::size_t>(p.width()) * static_cast<std::size_t>(p.height()), 0);
    std::deque<std::pair<int, int>> todo;
    auto push = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= p.width() || y >= p.height()) return;
        char& s = seen[static_cast<std::size_t>(y) * static_cast<std::size_t>(p.width()) +
                       static_cast<std::size_t>(x)];
        if (s || p.pixel(x, y) != key) return;
        s = 1;
        todo.emplace_back(x, y);
    };
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x)
            if (x == 0 || y == 0 || x == p.width() - 1 || y == p.height() - 1) push(x, y);
    int count = 0;
    while (!todo.empty()) {
        auto [x, y] = todo.front();
        todo.pop_front();
        ++count;
        push(x + 1, y);
        push(x - 1, y);
        push(x, y + 1);
        push(x, y - 1);
    }
    return count;
}

int count(const Picture& p, Rgb colour) {
    int n = 0;
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x) n += p.pixel(x, y) == colour;
    return n;
}

struct KeyCase {
    const char* name;
    Rgb key;
    double minShare;  // of the picture that is see-through
    double maxShare;
};

class SeeThrough : public ::testing::TestWithParam<KeyCase> {};

TEST_P(SeeThrough, KeyIsBottomLeftAndOnlySurroundsTheShape) {
    const KeyCase& c = GetParam();
    const Picture p = gamePicture(c.name);
    ASSERT_FALSE(p.empty());
    EXPECT_EQ(bottomLeftColour(p), c.key);
    const int keys = count(p, c.key);
    const double share = static_cast<double>(keys) / (p.width() * p.height());
    EXPECT_GE(share, c.minShare);
    EXPECT_LE(share, c.maxShare);
    // No hole inside the outline: every see-through pixel connects to the edge.
    EXPECT_EQ(keyPixelsReachableFromEdge(p, c.key), keys);
}

INSTANTIATE_TEST_SUITE_P(Catalogue, SeeThrough,
                         ::testing::Values(KeyCase{"cabinet", {0, 0, 0}, 0.09, 0.17},
                                           KeyCase{"intro", {6, 9, 18}, 0.5, 0.75},
                                           KeyCase{"lamp_red", {0, 0, 255}, 0.01, 0.12},
                                           KeyCase{"lamp_green", {0, 0, 255}, 0.01, 0.12}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Lamps, BlueCornersAroundRedOrGreenDots) {
    for (const char* name : {"lamp_red", "lamp_green"}) {
        const Picture p = gamePicture(name);
        ASSERT_FALSE(p.empty());
        for (auto [x, y] : {std::pair{0, 0}, {92, 0}, {0, 14}, {92, 14}})
            EXPECT_EQ(p.pixel(x, y), (Rgb{0, 0, 255})) << name << " corner " << x << "," << y;
        // the middle of the strip is lit in the lamp's own colour
        int hot = 0;
        for (int x = 10; x < 83; ++x) {
            const Rgb c = p.pixel(x, 7);
            const bool red = c.r > c.g && c.r > c.b;
            const bool green = c.g > c.r && c.g > c.b;
            hot += std::string(name) == "lamp_red" ? red : green;
            EXPECT_NE(c, (Rgb{0, 0, 255}));
        }
        EXPECT_EQ(hot, 73) << name;
    }
}

TEST(ReelStrip, ClosesAsABandOfTenDifferentSymbolsOnWhite) {
    const Picture strip = gamePicture("reel_strip");
    ASSERT_EQ(strip.height(), 1464);
    auto cell = [&](int k) {
        Picture c(122, 122);
        blit(strip, {0, 122 * k, 122, 122}, c, 0, 0);
        return c;
    };
    EXPECT_EQ(cell(0), cell(10)) << "melon above the single bar";
    EXPECT_EQ(cell(11), cell(1)) << "single bar below the melon";
    for (int a = 1; a <= 10; ++a) {
        const Picture ca = cell(a);
        EXPECT_EQ(ca.pixel(0, 0), (Rgb{255, 255, 255})) << "cell " << a;
        EXPECT_EQ(ca.pixel(121, 121), (Rgb{255, 255, 255})) << "cell " << a;
        for (int b = a + 1; b <= 10; ++b) {
            // symbols a player tells apart: a good share of their pixels differ
            const Picture cb = cell(b);
            int differ = 0;
            for (int y = 0; y < 122; ++y)
                for (int x = 0; x < 122; ++x) differ += ca.pixel(x, y) != cb.pixel(x, y);
            EXPECT_GT(differ, 122 * 122 / 8) << "cells " << a << " and " << b;
        }
    }
}

class ReelCell : public ::testing::TestWithParam<int> {};

TEST_P(ReelCell, SymbolIsCentredAndClearOfTheCellEdges) {
    const Picture strip = gamePicture("reel_strip");
    ASSERT_EQ(strip.height(), 1464);
    const int top = GetParam() * 122;
    // What the cell paints: the smallest box round its pixels that are not the white ground.
    const testing::Ink ink = testing::inkIn(strip, {0, top, 122, 122}, {255, 255, 255});
    ASSERT_TRUE(ink.any()) << "cell " << GetParam() << " is empty";
    // nothing touches a cell edge, so nothing was cut there
    EXPECT_GE(ink.left, 4);
    EXPECT_GE(ink.top - top, 4);
    EXPECT_LE(ink.right, 117);
    EXPECT_LE(ink.bottom - top, 117);
    // and the drum shading, which darkens by distance from the cell's middle, sees every
    // symbol in the same place
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 60.5, 1.0);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0 - top, 60.5, 1.0);
}

INSTANTIATE_TEST_SUITE_P(Catalogue, ReelCell, ::testing::Range(1, 11));

double meanLevel(const Picture& p) {
    long sum = 0;
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x) {
            const Rgb c = p.pixel(x, y);
            sum += c.r + c.g + c.b;
        }
    return static_cast<double>(sum) / (3.0 * p.width() * p.height());
}

// How much a 122 x 122 square of a picture changes from each pixel to the one below and to the
// one on its right, summed over the square.
struct Changes {
    long down = 0;
    long across = 0;
};

Changes changes(const Picture& p, int top) {
    Changes c;
    for (int y = top; y + 1 < top + 122; ++y)
        for (int x = 0; x + 1 < 122; ++x) {
            const Rgb here = p.pixel(x, y);
            const Rgb below = p.pixel(x, y + 1);
            const Rgb right = p.pixel(x + 1, y);
            c.down += std::abs(here.r - below.r) + std::abs(here.g - below.g) +
                      std::abs(here.b - below.b);
            c.across += std::abs(here.r - right.r) + std::abs(here.g - right.g) +
                        std::abs(here.b - right.b);
        }
    return c;
}

TEST(BlurFrames, AreFadedVerticalStreaksOfTheSymbolsTwoDifferentButEquallyBright) {
    const Picture strip = gamePicture("reel_strip");
    const Picture a = gamePicture("reel_blur_1");
    const Picture b = gamePicture("reel_blur_2");
    EXPECT_NE(a, b);
    // swapped every 30 ms: a frame much darker than the other would flicker
    EXPECT_NEAR(meanLevel(a), meanLevel(b), 3.0);
    // the still reel is all white
    EXPECT_EQ(count(gamePicture("reel"), {255, 255, 255}), 122 * 122);
    Changes sharp;
    for (int cell = 1; cell <= 10; ++cell) {
        const Changes c = changes(strip, cell * 122);
        sharp.down += c.down / 10;
        sharp.across += c.across / 10;
    }
    for (const Picture* p : {&a, &b}) {
        // blurred along the direction of travel only: far smoother downwards than a still
        // symbol, yet still with edges across
        const Changes c = changes(*p, 0);
        EXPECT_LT(c.down, sharp.down * 4 / 10);
        EXPECT_GT(c.across, sharp.across * 35 / 100);
        // the symbols' own colours still show, not a grey wash
        int coloured = 0;
        for (int y = 0; y < 122; ++y)
            for (int x = 0; x < 122; ++x) {
                const Rgb px = p->pixel(x, y);
                coloured += std::max({px.r, px.g, px.b}) - std::min({px.r, px.g, px.b}) > 60;
            }
        EXPECT_GT(coloured, 122 * 122 / 20);
        // mostly white, with faint smears
        EXPECT_GE(meanLevel(*p), 191);
        EXPECT_LT(meanLevel(*p), 254);
    }
}

TEST(Digits, OrangeFiguresWithAShadowOnPureBlack) {
    const Picture z = gamePicture("digits");
    ASSERT_EQ(z.width(), 130);
    constexpr Rgb orange{201, 78, 22};
    constexpr Rgb shadow{25, 25, 25};
    constexpr Rgb black{0, 0, 0};
    for (int y = 0; y < 18; ++y) {
        for (int x = 0; x < 130; ++x) {
            const Rgb c = z.pixel(x, y);
            ASSERT_TRUE(c == orange || c == shadow || c == black) << x << "," << y;
            if (c == shadow) {
                // a shadow lies right of or below a figure
                const bool left = x > 0 && z.pixel(x - 1, y) == orange;
                const bool above = y > 0 && z.pixel(x, y - 1) == orange;
                const bool diagonal = x > 0 && y > 0 && z.pixel(x - 1, y - 1) == orange;
                EXPECT_TRUE(left || above || diagonal) << x << "," << y;
            }
        }
    }
    for (int d = 0; d < 10; ++d) {
        int lit = 0;
        for (int y = 0; y < 18; ++y)
            for (int x = 13 * d; x < 13 * d + 13; ++x) lit += z.pixel(x, y) == orange;
        EXPECT_GT(lit, 20) << "digit " << d;
        // every figure keeps to its own cell, with its shadow inside
        for (int y = 0; y < 18; ++y) EXPECT_EQ(z.pixel(13 * d, y), black) << "digit " << d;
    }
    // strokes two pixels thick: the top bar of the 7
    EXPECT_EQ(z.pixel(13 * 7 + 4, 2), orange);
    EXPECT_EQ(z.pixel(13 * 7 + 4, 3), orange);
    EXPECT_EQ(z.pixel(13 * 7 + 4, 4), shadow);
}

bool dark(Rgb c) {
    return c.r < 90 && c.g < 90 && c.b < 120;
}
bool greyMetal(Rgb c) {
    const int hi = std::max({c.r, c.g, c.b});
    const int lo = std::min({c.r, c.g, c.b});
    return lo > 90 && hi - lo < 30;
}

TEST(Cabinet, IsDrawnForTheLayout) {
    const Picture cab = gamePicture("cabinet");
    ASSERT_EQ(cab.width(), 800);
    for (L::Offset r : L::kReelsAt)
        for (auto [dx, dy] : {std::pair{0, 0}, {121, 0}, {61, 61}, {0, 121}, {121, 121}})
            EXPECT_EQ(cab.pixel(r.x + dx, r.y + dy), (Rgb{255, 255, 255})) << "reel at " << r.x;
    auto meter = [&](L::Offset at, L::Extent e) {
        for (auto [dx, dy] :
             {std::pair{0, 0}, {e.w - 1, 0}, {e.w / 2, e.h / 2}, {e.w - 1, e.h - 1}})
            EXPECT_TRUE(dark(cab.pixel(at.x + dx, at.y + dy)))
                << "meter at " << at.x << "," << at.y;
    };
    meter(L::kBetMeterAt, L::kBetMeter);
    meter(L::kCreditMeterAt, L::kWideMeter);
    meter(L::kWinMeterAt, L::kWideMeter);
    for (L::Offset m : L::kPrizeMetersAt) meter(m, L::kPrizeMeter);
    for (L::Offset lamp : L::kLampsAt)
        for (int dx = 8; dx < 85; dx += 7) EXPECT_TRUE(dark(cab.pixel(lamp.x + dx, lamp.y + 7)));
    // the lever's slot is dark above the ball and beside the arm; the arm below the ball's
    // picture, down to its pivot, is bright chrome
    const int slotX = L::kLeverAt.x + L::kBigFaceCentre;
    for (int y = L::kLeverAt.y - 30; y < L::kLeverAt.y; y += 6)
        EXPECT_TRUE(dark(cab.pixel(slotX, y))) << "slot at y " << y;
    for (int y = L::kLeverAt.y; y < L::kLeverAt.y + 88; y += 8)
        for (int side : {-6, 6}) EXPECT_TRUE(dark(cab.pixel(slotX + side, y))) << "slot at y " << y;
    for (int y = L::kLeverAt.y + 64; y < L::kLeverAt.y + 90; y += 5)
        EXPECT_GT(cab.pixel(slotX, y).g, 150) << "arm at y " << y;
    // the middle of the message line, where its words stand, is dark
    const int middle = L::kMessageLineAt.x + L::kMessageLine.w / 2;
    for (int x = middle - 108; x <= middle + 108; x += 12)
        EXPECT_TRUE(dark(cab.pixel(x, L::kMessageLineAt.y + 14))) << x;
}

TEST(Cabinet, UnlitLampWindowsShowARowOfLampDots) {
    // a row of separate bulbs, not a fine grille: along the middle row, the bulbs stand out
    // from the dark between them exactly as often as there are bulbs
    const Picture cab = gamePicture("cabinet");
    for (L::Offset lamp : L::kLampsAt) {
        int lo = 255, hi = 0;
        for (int x = 0; x < L::kLamp.w; ++x) {
            const int v = cab.pixel(lamp.x + x, lamp.y + 7).r;
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        ASSERT_GT(hi - lo, 20) << "no dots in the window at " << lamp.x;
        int dots = 0;
        bool inDot = false;
        for (int x = 0; x < L::kLamp.w; ++x) {
            const bool bright = cab.pixel(lamp.x + x, lamp.y + 7).r > (lo + hi) / 2;
            dots += bright && !inDot;
            inDot = bright;
        }
        EXPECT_EQ(dots, 8) << "window at " << lamp.x;
    }
}

double faceLevel(const Picture& p, int centre, int radius) {
    long sum = 0;
    int n = 0;
    for (int y = centre - radius; y <= centre + radius; ++y)
        for (int x = centre - radius; x <= centre + radius; ++x) {
            if ((x - centre) * (x - centre) + (y - centre) * (y - centre) > radius * radius)
                continue;
            const Rgb c = p.pixel(x, y);
            sum += c.r + c.g + c.b;
            ++n;
        }
    return static_cast<double>(sum) / (3.0 * n);
}

TEST(Cabinet, TheLeverIsTheOneRedControlAndExitTheLeastInviting) {
    const Picture lever = gamePicture("lever");
    const int c = L::kBigFaceCentre;
    for (auto [dx, dy] : {std::pair{0, 0}, {-10, 8}, {10, 10}, {0, -15}}) {
        const Rgb ball = lever.pixel(c + dx, c + dy);
        EXPECT_GT(ball.r, ball.g + 80) << dx << "," << dy;
        EXPECT_GT(ball.r, ball.b + 80) << dx << "," << dy;
    }
    // the exit button's face is clearly darker than the help and coin buttons'
    const double exitFace = faceLevel(gamePicture("exit_button"), c, 18);
    for (const char* inviting : {"help_button", "coin_button"})
        EXPECT_LT(exitFace * 1.4, faceLevel(gamePicture(inviting), c, 18)) << inviting;
}

struct ButtonCase {
    const char* name;
    L::Offset at;
    bool big;
};

class PushButton : public ::testing::TestWithParam<ButtonCase> {};

TEST_P(PushButton, SitsOnTheCabinetsGreyMetalWithADarkGreenFace) {
    const ButtonCase& c = GetParam();
    const Picture cab = gamePicture("cabinet");
    const Picture b = gamePicture(c.name);
    const int size = c.big ? 63 : 41;
    ASSERT_EQ(b.width(), size);
    // the corners are the metal beneath the button at its rest place
    for (auto [x, y] : {std::pair{0, 0}, {size - 1, 0}, {0, size - 1}}) {
        EXPECT_EQ(b.pixel(x, y), cab.pixel(c.at.x + x, c.at.y + y)) << x << "," << y;
        EXPECT_TRUE(greyMetal(b.pixel(x, y))) << x << "," << y;
    }
    // a green face round the hit circle's centre
    const int centre = c.big ? L::kBigFaceCentre : L::kSmallFaceCentre;
    const int r = c.big ? L::kBigFaceRadius : L::kSmallFaceRadius;
    const Rgb face = b.pixel(centre - r / 2, centre + r / 3);
    EXPECT_GT(face.g, face.r);
    EXPECT_GT(face.g, face.b);
}

INSTANTIATE_TEST_SUITE_P(Catalogue, PushButton,
                         ::testing::Values(ButtonCase{"help_button", L::kHelpAt, true},
                                           ButtonCase{"exit_button", L::kExitAt, true},
                                           ButtonCase{"coin_button", L::kCoinAt, true},
                                           ButtonCase{"bet_down_button", L::kBetDownAt, false},
                                           ButtonCase{"bet_up_button", L::kBetUpAt, false},
                                           ButtonCase{"collect_button", L::kCollectAt, false},
                                           ButtonCase{"settings_button", L::kSettingsAt, false},
                                           ButtonCase{"autoplay_button", L::kAutoplayAt, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsPictures, SocketsAndSwitchesMatch) {
    const Picture bg = assetPicture(S, "panel");
    const Picture off = assetPicture(S, "switch_off");
    const Picture on = assetPicture(S, "switch_on");
    ASSERT_FALSE(bg.empty());
    // a switched-off switch disappears into its socket
    for (L::Offset s : L::kSwitchesAt)
        for (auto [x, y] : {std::pair{0, 0}, {19, 0}, {10, 10}, {19, 19}})
            EXPECT_EQ(bg.pixel(s.x + x, s.y + y), off.pixel(x, y)) << s.y;
    EXPECT_EQ(count(off, off.pixel(0, 0)), 400);
    const Rgb lit = on.pixel(10, 10);
    EXPECT_GT(lit.r, 200);
    EXPECT_GT(lit.r, lit.b + 100);
    // the statistics field and the account box are dark
    EXPECT_TRUE(dark(bg.pixel(L::kStatisticsAt.x + 200, L::kStatisticsAt.y + 150)));
    EXPECT_TRUE(dark(bg.pixel(L::kAccountAt.x + 50, L::kAccountAt.y + 10)));
    for (auto [name, at] : {std::pair{"ok_button", L::kOkAt}, {"reset_button", L::kResetAt}})
        EXPECT_EQ(assetPicture(S, name).pixel(0, 0), bg.pixel(at.x, at.y)) << name;
}

struct SoundCase {
    const char* name;
    double seconds;
    bool loops;
};

class Sound : public ::testing::TestWithParam<SoundCase> {};

TEST_P(Sound, IsStereo22050Hz16BitPcmOfItsLength) {
    const SoundCase& c = GetParam();
    auto bytes = findAsset(AssetKind::Sound, c.name);
    ASSERT_TRUE(bytes);
    ASSERT_GE(bytes->size(), 44u);
    EXPECT_EQ(std::memcmp(bytes->data(), "RIFF", 4), 0);
    EXPECT_EQ(std::memcmp(bytes->data() + 8, "WAVEfmt ", 8), 0);
    EXPECT_EQ(testing::leAt(*bytes, 20, 2), 1u) << "PCM";
    EXPECT_EQ(testing::leAt(*bytes, 22, 2), 2u) << "channels";
    EXPECT_EQ(testing::leAt(*bytes, 24, 4), 22050u);
    EXPECT_EQ(testing::leAt(*bytes, 34, 2), 16u);
    auto sound = decodeWav(*bytes, c.name);
    ASSERT_TRUE(sound);
    const double want = c.seconds * 22050;
    EXPECT_LE(std::fabs(static_cast<double>(sound->frames()) - want), 1.0) << sound->frames();
    // audible, and never clipped hard
    int peak = 0;
    for (std::int16_t s : sound->samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_GT(peak, 8000);
    EXPECT_LT(peak, 32700);
    const auto& s = sound->samples;
    const std::size_t n = sound->frames();
    if (c.loops) {
        // the seam from the last frame to the first is no bigger a step than the loop makes
        int steepest = 0;
        for (std::size_t i = 1; i < n; ++i)
            steepest = std::max(steepest, std::abs(s[2 * i] - s[2 * i - 2]));
        EXPECT_LE(std::abs(s[0] - s[2 * (n - 1)]), steepest / 4 + 1);
    } else {
        // a one-shot ends in silence, without a click
        EXPECT_LT(std::abs(static_cast<int>(s[2 * (n - 1)])), 200);
    }
}

// Loudness of the left channel over frames [from, from + count).
double rms(const PcmSound& s, std::size_t from, std::size_t count) {
    double sum = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        const double v = s.samples[2 * i];
        sum += v * v;
    }
    return std::sqrt(sum / static_cast<double>(count));
}

std::shared_ptr<const PcmSound> sound(const char* name) {
    auto bytes = findAsset(AssetKind::Sound, name);
    if (!bytes) return nullptr;
    return decodeWav(*bytes, name);
}

TEST(Ding, IsStruckAndDiesAwayWithinItsLength) {
    auto ding = sound("reels_stop");
    ASSERT_TRUE(ding);
    const std::size_t n = ding->frames();
    std::size_t loudest = 0;
    for (std::size_t i = 0; i < n; ++i)
        if (std::abs(ding->samples[2 * i]) > std::abs(ding->samples[2 * loudest])) loudest = i;
    // a sharp attack: full strength within the first millisecond and a half
    EXPECT_LT(loudest, 33u);
    // a fast exponential decay: every 5 ms quieter than the last, and nearly silent at the end
    constexpr std::size_t kStep = 110;
    for (std::size_t at = kStep; at + kStep <= n; at += kStep)
        EXPECT_LT(rms(*ding, at, kStep), rms(*ding, at - kStep, kStep) * 0.9) << at;
    EXPECT_LT(rms(*ding, n - kStep, kStep), rms(*ding, 0, kStep) * 0.05);
}

TEST(Bye, FadesOutBeforeItsEnd) {
    auto bye = sound("farewell");
    ASSERT_TRUE(bye);
    std::size_t last = bye->frames();
    while (last > 0 && bye->samples[2 * (last - 1)] == 0) --last;
    ASSERT_GT(last, 4410u);
    // the last 30 ms of the word are far quieter than the 30 ms before the fade began
    constexpr std::size_t kWindow = 661;
    EXPECT_LT(rms(*bye, last - kWindow, kWindow), rms(*bye, last - 5 * kWindow, kWindow) * 0.25);
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, Sound,
    ::testing::Values(
        SoundCase{"welcome", 2.68, false}, SoundCase{"spin_from_left", 0.50, true},
        SoundCase{"spin_from_middle", 0.50, true}, SoundCase{"spin_right_only", 0.50, true},
        SoundCase{"reels_stop", 0.031, false}, SoundCase{"lever_pull", 0.080, false},
        SoundCase{"coin_drop", 0.152, false}, SoundCase{"big_button", 0.046, false},
        SoundCase{"small_button", 0.013, false}, SoundCase{"hold_button", 0.035, false},
        SoundCase{"verdict_excellent", 0.89, false}, SoundCase{"verdict_good", 1.00, false},
        SoundCase{"verdict_not_bad", 1.10, false}, SoundCase{"farewell", 0.65, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace fruvana
