// The preferences screen's controls without their pictures: where the focus goes, how a value
// steps (stopping at its ends, or round them when activated), and how a new key is taken.

#include "shell/preferences_form.h"

#include <gtest/gtest.h>

#include "platform/headless_platform.h"
#include "shell/preferences_file.h"
#include "shell/preferences_screen.h"

namespace fruvana {
namespace {

using Result = PreferencesForm::Result;

struct Form {
    Preferences preferences;
    InputBindings bindings;
    HeadlessSpeech speech{true};
    PreferencesForm form{preferences, bindings, &speech};

    // U, D, L, R move, A activates, X closes, B is a back click on the focus; the last result.
    Result play(std::string_view moves) {
        Result last = Result::Nothing;
        for (const char m : moves) {
            const std::string_view kMoves = "UDLRAX";
            last = m == 'B' ? form.click(form.focus(), true)
                            : form.move(static_cast<FormMove>(kMoves.find(m)));
        }
        return last;
    }
    std::string focused() const { return form.valueText(form.items()[form.focus()]); }
};

TEST(PreferencesForm, TheFocusMovesAndValuesStep) {
    const struct {
        const char* moves;
        std::string focused;
        Result last;
    } cases[] = {
        {"L", "90 %", Result::Value},
        {"LLLLLLLLLLL", "0 %", Result::Nothing},  // stops at 0
        {"R", "100 %", Result::Nothing},          // and at 100
        {"A", "0 %", Result::Value},              // activated, it goes round
        {"DDA", "Mute and pause", Result::Value},
        {"DDDDRR", "of 500 or more", Result::Value},
        {"DDDDDDB", "Every 60 min", Result::Value},  // a back click goes round the other way
        {"DDDDDDDDA", "On", Result::Value},
        {"U", "Defaults", Result::Focus},  // round from the top to the buttons
        {"URR", "OK", Result::Nothing},
        {"DDDDDDDDD", "Enter", Result::Focus},  // the first action, its first key
        {"DDDDDDDDDRR", "A", Result::Focus},
        {"DDDDDDDDDRRRD", "D-pad left", Result::Focus},  // down the controller's column
        {"DDDDDDDDDRD", "1", Result::Focus},             // a line without a second key
        {"UU", "X", Result::Focus},                      // the last action, save and quit
        {"UUD", "Defaults", Result::Focus},
        {"UUUUUUUUUUUUUUUUUUUUUUUUD", "100 %", Result::Focus},
        {"X", "100 %", Result::Closed},
        {"URA", "OK", Result::Closed},
    };
    for (const auto& c : cases) {
        Form f;
        EXPECT_EQ(f.play(c.moves), c.last) << c.moves;
        EXPECT_EQ(f.focused(), c.focused) << c.moves;
    }
}

// Every preference, through the form and the file: Right steps through its choices in order
// and stops at the last, Left back to the first, and each value written to the file reads back
// as itself.
TEST(PreferencesForm, EveryPreferenceStepsThroughItsChoicesAndRoundTripsThroughTheFile) {
    const auto table = preferenceTable();
    for (std::size_t line = 0; line < table.size(); ++line) {
        const PreferenceRow& row = table[line];
        SCOPED_TRACE(std::string(row.section) + "." + std::string(row.key));
        Form f;
        f.play(std::string(line, 'D') + std::string(row.choices.size(), 'L'));
        std::vector<int> visited{f.preferences.*row.value};
        while (f.play("R") == Result::Value) visited.push_back(f.preferences.*row.value);
        std::vector<int> offered;
        for (const Choice& c : row.choices) offered.push_back(c.value);
        EXPECT_EQ(visited, offered);
        for (const int value : offered) {
            StoredPreferences stored;
            stored.preferences.*row.value = value;
            std::vector<std::string> complaints;
            EXPECT_EQ(parsePreferences(formatPreferences(stored), complaints).preferences,
                      stored.preferences);
            EXPECT_TRUE(complaints.empty());
        }
    }
}

// With more preferences than the panel has lines, the list scrolls as little as it can to show
// the focused one, and never past its ends.
TEST(PreferencesScreen, ScrollsJustEnoughToShowTheFocusedLine) {
    const struct {
        int first, focused, lines, slots, shown;
    } cases[] = {
        {0, 3, 9, 9, 0},   {0, 12, 14, 9, 4}, {4, 2, 14, 9, 2}, {4, 13, 14, 9, 5},
        {3, -1, 14, 9, 3}, {8, -1, 9, 9, 0},  {2, 0, 3, 9, 0},  {5, 9, 14, 9, 5},
    };
    for (const auto& c : cases)
        EXPECT_EQ(firstShownLine(c.first, c.focused, c.lines, c.slots), c.shown)
            << c.first << " " << c.focused << " " << c.lines;
}

// What speech says as the focus lands on a control.
TEST(PreferencesForm, TheFocusIsNamedForSpeech) {
    for (const auto& [moves, text] : {std::pair{"DDDDDDDD", "Speech, Off"},
                                      {"DDDDDDDDD", "Pull the lever, key Enter"},
                                      {"DDDDDDDDDRR", "Pull the lever, controller A"},
                                      {"URR", "OK"}}) {
        Form f;
        f.play(moves);
        EXPECT_EQ(f.form.focusText(), text) << moves;
    }
}

// On the pull's first key, and on the coin's controller button.
TEST(PreferencesForm, ANewKeyOrButtonIsTakenOrRefused) {
    const Input escape{Input::Kind::Key, 27};
    const struct {
        const char* moves;
        Input pressed;
        std::string focused;
        std::string message;
    } cases[] = {
        {"DDDDDDDDDA", {Input::Kind::Key, U'q'}, "Q", "Q now does: pull the lever"},
        {"DDDDDDDDDA", {Input::Kind::Pad, 0, PadButton::Y}, "Enter", "That cannot be changed here"},
        {"DDDDDDDDDA", escape, "Enter",
         "Arrows or D-pad move, Enter or A changes, Escape or Back closes"},
        {"DDDDDDDDDDDDDDDRRA",
         {Input::Kind::Pad, 0, PadButton::Guide},
         "X",
         "Guide already does: game recall"},
        {"DDDDDDDDDDDDDDDRRA",
         {Input::Kind::Pad, 0, PadButton::Start},
         "X",
         "Start already does: help page"},
    };
    for (const auto& c : cases) {
        Form f;
        EXPECT_EQ(f.play(c.moves), Result::Capturing) << c.moves;
        EXPECT_TRUE(f.form.capturing());
        EXPECT_EQ(f.form.capture(c.pressed), Result::Bindings);
        EXPECT_FALSE(f.form.capturing());
        EXPECT_EQ(f.focused(), c.focused) << c.message;
        EXPECT_EQ(f.form.message(), c.message);
    }
    Form f;
    f.play("DDDDDDDDDA");
    EXPECT_EQ(f.form.message(), "Press the new key to pull the lever, or Escape to keep Enter");
    f.form.capture({Input::Kind::Key, U'q'});
    EXPECT_EQ(f.form.click(f.form.items().size() - 2, false), Result::Bindings);  // Defaults
    EXPECT_EQ(f.bindings.rows()[0].input, (Input{Input::Kind::Key, U'\r'}));
    // A move gives up waiting for a key.
    f.play("DDDDDDDDDDA");
    f.play("R");
    EXPECT_FALSE(f.form.capturing());
    EXPECT_EQ(f.form.capture({Input::Kind::Key, U'q'}), Result::Nothing);
}

}  // namespace
}  // namespace fruvana
