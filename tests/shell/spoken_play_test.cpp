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
        std::int32_t credit;
        Holds held;
        std::string said;
    } cases[] = {
        {{1, 5, 9},
         {ComboClass::AnyTwoBars, 10, false},
         995,
         {true, true, false},
         "Single bar, double bar, cherry. Any two bars, 10 paid. Credit 995. Holding reels 1 "
         "and 2."},
        {{2, 2, 9},
         {ComboClass::NoWin, 0, false},
         1005,
         {false, false, false},
         "Bell, bell, cherry. No win. Credit 1005. No holds."},
        {{3, 7, 8},
         {ComboClass::AnyThreeSevens, 150, true},
         980,
         {true, true, true},
         "Yellow seven, red seven, blue seven. Any three 7s, 150 paid. Credit 980."},
        {{4, 10, 6},
         {ComboClass::NoWin, 0, false},
         0,
         {true, false, true},
         "Grapes, melon, triple bar. No win. Credit 0. Holding reels 1 and 3."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dealSentence(c.line, c.result, c.credit, c.held), c.said) << c.said;
    EXPECT_EQ(holdsSentence({true, true, true}), "Holding reels 1, 2 and 3.");
    EXPECT_EQ(holdsSentence({false, true, false}), "Holding reel 2.");
}

class Spoken : public testing::WholeProgram {
  protected:
    // The program revealed, with speech chosen or not, and nothing said yet.
    void startWithSpeech(bool speech) {
        startAndReveal();
        Preferences p;
        p.speech = speech;
        program->applyPreferences(p);
        state().options.secondDeal = true;
        state().options.smartHold = false;
    }
    const std::vector<std::string>& said() { return platform->headlessSpeech().said(); }
    // Plays a deal, a hold, the money keys and a visit to each screen; what was said since.
    std::vector<std::string> play() {
        const std::size_t before = said().size();
        for (const char32_t key : {U'c', U'.', U'\r', U'3', U'o', U's'}) type(key);
        click(onCabinet(L::kSwitchesAt[0], 10, 10));
        click(onCabinet(L::kRecallButtonAt, 20, 20));
        type(U'r');
        click(onCabinet(L::kPreferencesButtonAt, 20, 20));
        program->input().route(InputEvent::arrowKey(Arrow::Down));
        return {said().begin() + static_cast<long>(before), said().end()};
    }
};

TEST_F(Spoken, EachDealHoldMeterAndFocusedControlIsSaid) {
    startWithSpeech(true);
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
    EXPECT_EQ(play(), expected);
}

TEST_F(Spoken, SpeechOffOrUnavailableSaysNothingAndTheFormTellsWhy) {
    startWithSpeech(false);
    EXPECT_TRUE(play().empty());
    stop();
    options.speechAvailable = false;
    startWithSpeech(true);
    type(U'p');
    const int speechItem = static_cast<int>(Setting::Speech);
    EXPECT_EQ(program->preferencesScreen().panel().itemText(speechItem), "Unavailable");
    const auto [x, y] = onCabinet({250, 116 + 8 * 36}, 65, 9);
    click({x, y});
    EXPECT_EQ(program->preferencesScreen().panel().message(),
              "Speech is unavailable: no speech server could be reached");
    EXPECT_TRUE(said().empty());
}

}  // namespace
}  // namespace fruvana
