// The game in each language its catalogues give: the player's texts translated, and each one
// at its longest inside its place on the screen.
#include "presentation/translation.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "presentation/asset_catalogue.h"
#include "presentation/components/text_line.h"
#include "tests/shell/program_fixture.h"

namespace fruvana {
namespace {

using testing::WholeProgram;

// Starts the program in the language; English again afterwards for the other tests.
class InLanguage : public WholeProgram, public ::testing::WithParamInterface<const char*> {
  protected:
    void SetUp() override {
        setenv("LC_ALL", "C.UTF-8", 1);
        setenv("LANGUAGE", GetParam(), 1);
        startTranslations(FRUVANA_CATALOGUES);
        WholeProgram::SetUp();
        page = language() == "en" ? "help.htm" : "help." + language() + ".htm";
        for (const std::string& name : {std::string("help.htm"), page})
            std::filesystem::copy_file(FRUVANA_SOURCE_DIR "/shell/" + name, folder / name,
                                       std::filesystem::copy_options::overwrite_existing);
        startAndReveal();
    }
    void TearDown() override {
        WholeProgram::TearDown();
        unsetenv("LC_ALL");
        unsetenv("LANGUAGE");
        startTranslations(FRUVANA_CATALOGUES);
    }

    std::string language() const { return GetParam(); }
    std::string page;  // the help page in the language

    // The shown labels whose text is cut off at their edges, with their texts.
    std::vector<std::string> cutOff() {
        std::vector<std::string> cut;
        for (const auto& layer : view().screen().scene().layers()) {
            const auto* line = dynamic_cast<const TextLine*>(layer.get());
            if (line != nullptr && line->visible() && !line->fits())
                cut.push_back(line->name() + ": " + line->caption());
        }
        return cut;
    }
};

// The longest texts each place takes: the message line's every text, each preference at every
// value, the key prompts and refusals, and the reality check; the pictures' words and the help
// page in the language.
TEST_P(InLanguage, EveryTextFitsItsPlace) {
    std::vector<GameText> messages{kFirstDealText, kSecondDealText, kAutoplayOffText,
                                   kAutoplayButtonOnText, kAutoplayButtonOffText};
    for (const ComboClass c : kEveryClass) messages.emplace_back(verdictFor(c).text);
    const AutoplayLimits all{1, 1, 1};
    messages.push_back(*autoplayStopText(all, 100, 0, 0));
    messages.push_back(*autoplayStopText(all, 0, 9999999, 0));
    messages.push_back(*autoplayStopText(all, 0, 0, -9999999));
    for (const GameText& message : messages) {
        view().setMessage(message);
        EXPECT_EQ(cutOff(), std::vector<std::string>{}) << message.english();
    }

    type('p');
    ASSERT_TRUE(program->preferencesScreen().visible());
    for (std::size_t setting = 0; setting < preferenceTable().size(); ++setting) {
        for (int step = 0; step < 5; ++step) {
            program->input().route(InputEvent::arrowKey(Arrow::Right));
            EXPECT_EQ(cutOff(), std::vector<std::string>{}) << setting << " " << step;
        }
        program->input().route(InputEvent::arrowKey(Arrow::Down));
    }
    program->input().route(InputEvent::enter());  // the lever's key: the prompt
    EXPECT_EQ(cutOff(), std::vector<std::string>{});
    type('a');  // autoplay's key: refused
    EXPECT_EQ(cutOff(), std::vector<std::string>{});
    type('\x1b');

    // The statistics table and the recall's, with a game collected between its deals: the
    // longest result the recall shows.
    pullLever();
    settle();
    type('o');
    auto fits = [](const AlignGrid& grid) {
        for (int row = 0; row < grid.rowCount(); ++row)
            for (int col = 0; col < grid.colCount(); ++col)
                EXPECT_TRUE(grid.textFits(col, row)) << grid.cellText(col, row);
    };
    type('r');
    fits(program->recall().table());
    type('r');
    type('s');
    fits(program->settings().statisticsTable());
    program->input().route(InputEvent::padButton(PadButton::Back));

    program->realityCheck().show(tr(realityCheckText(600, 99999, -9999999)));
    EXPECT_EQ(cutOff(), std::vector<std::string>{});
    program->realityCheck().hide();

    // The cabinet's engraved words: drawn over in every language but English.
    std::string error;
    const std::optional<Picture> shown = loadPicture(AssetKind::GamePicture, "cabinet", error);
    usePictureLanguage("");
    const std::optional<Picture> english = loadPicture(AssetKind::GamePicture, "cabinet", error);
    usePictureLanguage(translationLanguage());
    ASSERT_TRUE(shown && english) << error;
    EXPECT_EQ(*shown == *english, language() == "en");
    // and the speech server is told which voice reads the texts
    EXPECT_EQ(platform->headlessSpeech().language(), language() == "en" ? "" : language());

    type('h');
    ASSERT_FALSE(platform->openedUrls().empty());
    EXPECT_TRUE(platform->openedUrls().back().ends_with("/" + page))
        << platform->openedUrls().back();
}

INSTANTIATE_TEST_SUITE_P(Catalogues, InLanguage, ::testing::Values("en", "de", "fr", "es"));

// The language follows the desktop's settings, LANGUAGE first, even where the desktop's locale
// was never generated; a language without a catalogue, and the C locale, stay English.
TEST(Translations, FollowTheDesktop) {
    const struct {
        const char* language;
        const char* lang;
        const char* expected;
    } cases[] = {
        {"de", "C.UTF-8", "1.  DREHUNG"},
        {"", "fr_FR.UTF-8", "1er  TIRAGE"},
        {"es:de", "de_DE.UTF-8", "1.ª  TIRADA"},
        {"pt", "C.UTF-8", "1st  DEAL"},
        {"de", "C", "1st  DEAL"},
    };
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    for (const auto& c : cases) {
        setenv("LANGUAGE", c.language, 1);
        setenv("LANG", c.lang, 1);
        startTranslations(FRUVANA_CATALOGUES);
        EXPECT_EQ(tr(GameText{kFirstDealText}), c.expected) << c.language << c.lang;
    }
    unsetenv("LANGUAGE");
    unsetenv("LANG");
    startTranslations(FRUVANA_CATALOGUES);
    EXPECT_EQ(tr(GameText{kFirstDealText}), "1st  DEAL");
}

}  // namespace
}  // namespace fruvana
