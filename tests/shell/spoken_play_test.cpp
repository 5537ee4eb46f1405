// The spoken messages: the words for deals and holds, and what the whole program says (and
// does not say) as it is played with speech on, off, or without a speech server.

#include "shell/spoken_play.h"

#include <gtest/gtest.h>

#include <algorithm>

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
        // The game's last deal: nothing held.
        {{3, 7, 8},
         {ComboClass::AnyThreeSevens, 150, true},
         {},
         "Yellow seven, red seven, blue seven. Any three 7s, 150 paid. Credit 995."},
        // A first deal that holds every reel: the next pull starts a new game, as the lamps say.
        {{2, 2, 2},
         {ComboClass::ThreeBells, 250, true},
         {true, true, true},
         "Bell, bell, bell. Three bells, 250 paid. Credit 995. All three reels held: the next "
         "pull banks the win and starts a new game."},
    };
    for (const auto& c : cases) EXPECT_EQ(dealSentence(c.line, c.result, 995, c.held), c.said);
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
        "1st  DEAL",
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

// Autoplay's start and its own stop, and the reality check's question with its buttons as the
// focus moves, are heard as they are shown.
TEST_F(Spoken, AutoplaysStopAndTheRealityCheckAreSaid) {
    startAndReveal();
    Preferences p;
    p.speech = 1;
    p.autoplayGames = 10;
    p.realityCheckMinutes = 15;
    program->applyPreferences(p);
    type(U'c');
    program->input().route(InputEvent::typed(U'a'));
    const std::uint64_t end = platform->ticksMs() + std::uint64_t{30} * kAutoplayIntervalMs;
    while (program->game().autoplayOn() && platform->ticksMs() < end) program->loop().delay(100);
    settle();
    const auto& said = platform->headlessSpeech().said();
    const auto heard = [&](const std::string& text) {
        return std::find(said.begin(), said.end(), text) != said.end();
    };
    EXPECT_TRUE(heard("Auto play ON"));
    EXPECT_TRUE(heard("Autoplay OFF: 10 games"));
    platform->advance(std::uint64_t{15} * 60 * 1000);
    program->loop().delay(1100);
    ASSERT_TRUE(program->realityCheck().visible());
    EXPECT_TRUE(said.back().starts_with("You have played 16 min: 10 games, net ")) << said.back();
    EXPECT_TRUE(said.back().ends_with(". Keep playing")) << said.back();
    program->input().route(InputEvent::arrowKey(Arrow::Right));
    EXPECT_EQ(said.back(), "Stop");
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
