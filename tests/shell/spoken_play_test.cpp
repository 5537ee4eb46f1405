// The spoken messages: the words for deals and holds, and what the whole program says (and
// does not say) as it is played with speech on, off, or without a speech server.

#include "shell/spoken_play.h"

#include <gtest/gtest.h>

#include "tests/shell/program_fixture.h"

namespace fruvana {
namespace {

namespace L = layout;

TEST(SpokenPlay, DealsAndHoldsInWords) {
    const struct {
        Line line;
        ResultReport result;
        Holds held;
        std::string said;
    } cases[] = {
        {{1, 5, 9},
         {ComboClass::AnyTwoBars, 10, false},
         {true, true, false},
         "Single bar, double bar, cherry. Any two bars, 10 paid. Credit 995. Holding reels 1 and "
         "2."},
        {{2, 2, 9},
         {ComboClass::NoWin, 0, false},
         {},
         "Bell, bell, cherry. No win. Credit 995. No holds."},
        {{3, 7, 8},
         {ComboClass::AnyThreeSevens, 150, true},
         {true, true, true},
         "Yellow seven, red seven, blue seven. Any three 7s, 150 paid. Credit 995."},
    };
    for (const auto& c : cases) EXPECT_EQ(dealSentence(c.line, c.result, 995, c.held), c.said);
    EXPECT_EQ(holdsSentence({true, true, true}), "Holding reels 1, 2 and 3.");
}

class Spoken : public testing::WholeProgram {
  protected:
    // With speech chosen or not: a coin, a bet step, a deal, a hold, a collect, a switch, the
    // recall and the preferences; what was said meanwhile.
    std::vector<std::string> play(bool speech) {
        startAndReveal();
        Preferences p;
        p.speech = speech ? 1 : 0;
        program->applyPreferences(p);
        state().options.secondDeal = true;
        for (const char32_t key : {U'c', U'.', U'\r', U'3', U'o', U's'}) type(key);
        click(onCabinet(L::kSwitchesAt[0], 10, 10));
        click(onCabinet(L::kRecallButtonAt, 20, 20));
        type(U'r');
        click(onCabinet(L::kPreferencesButtonAt, 20, 20));
        program->input().route(InputEvent::arrowKey(Arrow::Down));
        return platform->headlessSpeech().said();
    }
};

TEST_F(Spoken, EachDealHoldMeterAndFocusedControlIsSaidWithSpeechOn) {
    const std::vector<std::string> expected{
        "Credit 2000. Win 0. Bet 5.",
        "Bet 6. Credit 2000. Win 0.",
        "Cherry, yellow seven, triple bar. No win. Credit 1994. Holding reel 3.",
        "No holds.",
        "Credit 0. Win 0. Bet 6.",
        "Settings and statistics.",
        "Auto bet, off.",
        "Auto bet, on.",
        "Game recall.",
        "Game recall. This session: 0 min, 0 games, net -6",
        "Preferences.",
        "Preferences. Effects volume, 100 %",
        "Voice volume, 100 %",
    };
    EXPECT_EQ(play(true), expected);
    stop();
    EXPECT_TRUE(play(false).empty());
}

// While speech is off no server is asked for; switching it on finds out, and says why not.
TEST_F(Spoken, UnavailableSpeechIsFoundOutWhenSwitchedOnAndShownWithItsReason) {
    options.speechAvailable = false;
    startAndReveal();
    type(U'p');
    const FormPanel& panel = program->preferencesScreen().panel();
    constexpr int kSpeechLine = 8;
    EXPECT_EQ(panel.itemText(kSpeechLine), "Off");
    click(onCabinet({250, 116 + kSpeechLine * 36}, 65, 9));
    EXPECT_EQ(panel.itemText(kSpeechLine), "Unavailable");
    EXPECT_EQ(panel.message(), "Speech is unavailable: no speech server could be reached");
    EXPECT_EQ(program->preferences().speech, 0);
}

}  // namespace
}  // namespace fruvana
