// Whole deals of the real program on the headless platform: what the screen shows after the
// reveal, the frames each tick draws, the sounds in order, the lamps and message after the
// verdict, and a second deal with a hold.

#include <gtest/gtest.h>

#include "presentation/meters.h"
#include "presentation/reel_animation.h"
#include "tests/shell/program_fixture.h"
#include "tests/support/ledger.h"

namespace fruvana {
namespace {

namespace L = layout;
using testing::gamePicture;

class Deal : public testing::WholeProgram {
  protected:
    Picture stillOf(int symbol) {
        ReelShading shading(gamePicture("reel_strip"), gamePicture("reel_blur_1"),
                            gamePicture("reel_blur_2"));
        Picture still(122, 122);
        shading.drawStill(symbol, still);
        return still;
    }
    // The frames reel n (1 to 3) drew, in tick order.
    std::vector<int> framesOf(int reel) {
        std::vector<int> frames;
        for (const FrameDraw& d : view().framesDrawn())
            if (d.reel == reel) frames.push_back(d.frame);
        return frames;
    }
    int lastTick() { return view().framesDrawn().empty() ? 0 : view().framesDrawn().back().tick; }
};

TEST_F(Deal, TheRevealShowsStillReelsEveryMeterAndThePlayText) {
    startAndReveal();
    for (std::size_t n = 0; n < 3; ++n)
        EXPECT_EQ(cut(L::kReelsAt[n], 122, 122), stillOf(state().reelSymbols[n])) << n;
    EXPECT_EQ(meter(L::kCreditMeterAt, 7), "...1000");
    EXPECT_EQ(meter(L::kWinMeterAt, 7), "......0");
    EXPECT_EQ(meter(L::kBetMeterAt, 2), ".5");
    const char* prizes[] = {"2500", "1250", ".500", ".375"};
    for (std::size_t k = 0; k < 4; ++k) EXPECT_EQ(meter(L::kPrizeMetersAt[k], 4), prizes[k]);
    EXPECT_EQ(view().message(), "Play Fruvana !");
}

TEST_F(Deal, ThePayPanelFollowsTheBet) {
    startAndReveal();
    using Shows = std::array<const char*, 4>;
    for (auto [bet, shows] : {std::pair{1, Shows{".500", ".250", ".100", "..75"}},
                              std::pair{10, Shows{"5000", "2500", "1000", ".750"}}}) {
        state().bet = bet;
        view().drawBetAndPrizes();
        for (std::size_t k = 0; k < 4; ++k)
            EXPECT_EQ(meter(L::kPrizeMetersAt[k], 4), shows[k]) << bet;
    }
}

TEST_F(Deal, APullTurnsTheReelsLeftToRightAndEndsOnTick62) {
    startAndReveal();
    platform->headlessAudio().clearLog();
    pullLever();
    EXPECT_EQ(state().inputEnabled, 0);
    EXPECT_EQ(state().credit, 995);
    EXPECT_EQ(view().message(), "1st  DEAL");
    // A frame every 30 ms, on the virtual clock, millisecond by millisecond.
    std::vector<std::uint64_t> tickTimes;
    for (int ms = 0; ms < 5000 && state().inputEnabled == 0; ++ms) {
        program->loop().delay(1);
        if (lastTick() > static_cast<int>(tickTimes.size()))
            tickTimes.push_back(platform->ticksMs());
    }
    ASSERT_EQ(state().inputEnabled, 1);
    ASSERT_EQ(tickTimes.size(), 62u);
    // The last tick returns only after the stop chime's 31 ms.
    for (std::size_t t = 1; t < tickTimes.size(); ++t)
        EXPECT_EQ(tickTimes[t] - tickTimes[t - 1], t == 61 ? 30u + 31u : 30u) << "tick " << t + 1;
    // Every frame of each reel drawn (which frame on which tick is the reel animation's own
    // test).
    EXPECT_EQ(lastTick(), 62);
    EXPECT_EQ(framesOf(1).size(), 22u);
    EXPECT_EQ(framesOf(2).size(), 42u);
    EXPECT_EQ(framesOf(3).size(), 62u);
    // Still pictures of the new line, and the statistics counted it.
    for (std::size_t n = 0; n < 3; ++n)
        EXPECT_EQ(cut(L::kReelsAt[n], 122, 122), stillOf(state().reelSymbols[n])) << n;
    EXPECT_EQ(state().statistics.firstDeal.deals, 1);
    // The lever, the spin, the stop; then the verdict's voice if the line won.
    std::vector<std::string> sounds = soundsPlayed();
    ASSERT_GE(sounds.size(), 3u);
    EXPECT_EQ((std::vector<std::string>(sounds.begin(), sounds.begin() + 3)),
              (std::vector<std::string>{"lever_pull", "spin_from_left", "reels_stop"}));
    // The fixed seed's first line, 9 3 6, wins nothing: the deal's text stays and no voice
    // follows the stop (a winning deal's verdict is checked below).
    EXPECT_EQ(state().reelSymbols, (Line{9, 3, 6}));
    EXPECT_EQ(sounds.size(), 3u);
    EXPECT_EQ(view().message(), "1st  DEAL");
    // Phase 2: the suggested holds are lit in red.
    EXPECT_EQ(state().phase, Phase::SecondDeal);
    const Picture lampRed = gamePicture("lamp_red");
    for (std::size_t n = 0; n < 3; ++n) {
        const PictureLayer* lamp = program->view().screen().layer("lamp" + std::to_string(n + 1));
        EXPECT_EQ(lamp->picture(), state().held[n] ? lampRed : Picture()) << n;
    }
}

TEST_F(Deal, AWinningDealSpeaksItsVerdict) {
    startAndReveal();
    state().options.secondDeal = 0;
    state().credit = 100'000;
    // The voice and text of each kind of win, by class.
    const auto verdict = [](int c) -> std::pair<std::string, std::string> {
        if (c <= 6) return {"verdict_excellent", "Excellent !!!"};
        if (c <= 9) return {"verdict_good", "Good job !!"};
        return {"verdict_not_bad", "Not bad !"};
    };
    int pulls = 0;
    do {
        platform->headlessAudio().clearLog();
        pullLever();
        settle();
    } while (state().win == 0 && ++pulls < 100);
    ASSERT_GT(state().win, 0) << "no win in 100 pulls";
    const int c = testing::ledger::classOf(state().reelSymbols);
    EXPECT_EQ(soundsPlayed().back(), verdict(c).first) << c;
    EXPECT_EQ(view().message(), verdict(c).second) << c;
}

TEST_F(Deal, WithoutSoundFxTheSpinIsSilentAndSkipsTheChimesWait) {
    std::uint64_t spinTime[2] = {};
    for (int soundFx : {1, 0}) {
        startAndReveal();
        state().options.soundFx = static_cast<std::uint8_t>(soundFx);
        state().options.voiceFx = 0;
        platform->headlessAudio().clearLog();
        const std::uint64_t t0 = platform->ticksMs();
        pullLever();
        settle();
        spinTime[soundFx] = platform->ticksMs() - t0;
        if (soundFx == 0) {
            EXPECT_TRUE(soundsPlayed().empty());
        }
        program.reset();
    }
    EXPECT_EQ(spinTime[1] - spinTime[0], 31u);
}

// A click on a reel's picture or on its lamp holds that reel, and a second click lets it go.
struct HoldClick {
    const char* name;
    L::Offset at;  // the picture clicked, at a point inside it
    int x, y;
    std::size_t reel;
};

class HoldByClick : public Deal, public ::testing::WithParamInterface<HoldClick> {};

TEST_P(HoldByClick, TogglesOnlyThatReel) {
    const HoldClick& c = GetParam();
    startAndReveal();
    state().options.smartHold = 0;
    pullLever();
    settle();
    ASSERT_EQ(state().phase, Phase::SecondDeal);
    const auto before = state().held;
    platform->headlessAudio().clearLog();
    click(onCabinet(c.at, c.x, c.y));
    auto toggled = before;
    toggled[c.reel] = toggled[c.reel] ? 0 : 1;
    EXPECT_EQ(state().held, toggled);
    EXPECT_EQ(soundsPlayed(), (std::vector<std::string>{"hold_button"}));
    click(onCabinet(c.at, c.x, c.y));
    EXPECT_EQ(state().held, before);
}

INSTANTIATE_TEST_SUITE_P(Table, HoldByClick,
                         ::testing::Values(HoldClick{"Reel1", {304, 369}, 60, 60, 0},
                                           HoldClick{"Reel2", {446, 369}, 1, 120, 1},
                                           HoldClick{"Reel3", {588, 369}, 121, 0, 2},
                                           HoldClick{"Lamp1", {320, 519}, 46, 7, 0},
                                           HoldClick{"Lamp2", {462, 519}, 0, 0, 1},
                                           HoldClick{"Lamp3", {604, 519}, 92, 14, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Deal, ASecondDealTurnsOnlyTheReelsNotHeld) {
    startAndReveal();
    state().options.smartHold = 0;
    pullLever();
    settle();
    ASSERT_EQ(state().phase, Phase::SecondDeal);
    // Hold reel 1 alone: a click on its picture, a click on a lamp to let the others go.
    const std::array<L::Offset, 3> lamps = L::kLampsAt;
    if (state().held[0] == 0) click(onCabinet(L::kReelsAt[0], 60, 60));
    for (std::size_t n = 1; n < 3; ++n)
        if (state().held[n]) click(onCabinet(lamps[n], 40, 7));
    ASSERT_EQ(state().held, (Holds{1, 0, 0}));
    const Line before = state().reelSymbols;
    pullLever();
    EXPECT_EQ(view().message(), "2nd  DEAL");
    settle();
    EXPECT_TRUE(framesOf(1).empty());
    EXPECT_EQ(framesOf(2).size(), 42u);
    EXPECT_EQ(lastTick(), 62);
    EXPECT_EQ(state().reelSymbols[0], before[0]);
    EXPECT_EQ(state().phase, Phase::FirstDeal);
    EXPECT_EQ(state().statistics.secondDeal.deals, 1);
    EXPECT_EQ(state().credit, 995);
}

}  // namespace
}  // namespace fruvana
