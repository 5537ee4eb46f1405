// The one input table against the key tables the players read (the README and the help page),
// and what each screen says lies under a point.

#include <array>
#include <fstream>
#include <map>
#include <sstream>

#include "tests/shell/program_fixture.h"

namespace fruvana {
namespace {

namespace L = layout;
using Kind = Command::Kind;

// How each command reads in the tables, by push button and by kind in their orders (empty, and
// every button past the settings screen's OK: none of the input table), and how each input is
// spelt there.
constexpr std::array<std::string_view, kButtonCount> kButtonPhrases{
    "help page", "",         "bet down",           "bet up",         "insert a coin",
    "collect",   "settings", "autoplay on or off", "their OK button"};
constexpr std::array<std::string_view, 10> kKindPhrases{
    "pull the lever",
    "hold or release",
    "",
    "",
    "game recall",
    "closes it",
    "save and quit",
    "preferences",
    "",
    "switches between full screen and a window"};
std::string phrase(const Command& c) {
    const bool button = c.kind == Kind::Press || c.kind == Kind::Click;
    if (c.kind == Kind::Form)
        return c.move == FormMove::Activate ? "change or press the focused control"
               : c.move == FormMove::Close  ? "closes it"
                                            : "move the focus";
    return std::string(button ? kButtonPhrases[static_cast<std::size_t>(c.button)]
                              : kKindPhrases[static_cast<std::size_t>(c.kind)]);
}
std::string spelling(const Input& input, bool html) {
    static const std::map<PadButton, std::string> kPads{
        {PadButton::A, "A (bottom"},
        {PadButton::B, "B (right"},
        {PadButton::X, "X (left"},
        {PadButton::Y, "Y (top"},
        {PadButton::Back, "Back / Select"},
        {PadButton::Start, "Start"},
        {PadButton::Guide, "Guide (middle)"},
        {PadButton::DpadLeft, "D-pad left"},
        {PadButton::DpadUp, "up"},
        {PadButton::DpadRight, "right"},
        {PadButton::LeftShoulder, "left and right shoulder"},
        {PadButton::RightShoulder, "left and right shoulder"},
        {PadButton::DpadDown, "D-pad down"}};
    constexpr std::array<std::string_view, 4> kArrows{"Up", "Down", "Left", "Right"};
    static const std::map<char32_t, std::string> kWords{
        {U'\r', "Enter"}, {U' ', "Space"}, {U',', "comma"}, {U'.', "full stop"}, {27, "Escape"}};
    static const std::map<char32_t, std::string> kKeyCaps{
        {U'\r', "Enter"}, {U' ', "Space"}, {27, "Esc"}};
    if (input.kind == Input::Kind::Wheel) return "mouse wheel";
    if (input.kind == Input::Kind::WindowMode) {
        if (input.windowMode == WindowModeKey::F11) return html ? "<kbd>F11</kbd>" : "**F11**";
        return html ? "<kbd>Alt</kbd>+<kbd>Enter</kbd>" : "**Alt+Enter**";
    }
    if (input.kind == Input::Kind::Pad) return kPads.at(input.pad);
    if (input.kind == Input::Kind::Arrow) {
        const std::string name(kArrows[static_cast<std::size_t>(input.arrow)]);
        return html ? "<kbd>" + name + "</kbd>" : name;
    }
    const auto& names = html ? kKeyCaps : kWords;
    const std::string name =
        names.contains(input.key)
            ? names.at(input.key)
            : std::string(1, static_cast<char>(std::toupper(static_cast<int>(input.key))));
    return html ? "<kbd>" + name + "</kbd>" : name;
}

// Whether text holds word with no letter or digit either side.
bool mentions(const std::string& text, const std::string& word) {
    for (auto at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        const auto alnum = [&](std::size_t i) {
            return i < text.size() && std::isalnum(static_cast<unsigned char>(text[i]));
        };
        if ((at == 0 || !alnum(at - 1)) && !alnum(at + word.size())) return true;
    }
    return false;
}

TEST(KeyTables, TheReadmeAndTheHelpPageTellEveryRowOfTheInputTable) {
    for (const auto& [file, html] : {std::pair{"README.md", false}, {"shell/help.htm", true}}) {
        std::ifstream in(std::string(FRUVANA_SOURCE_DIR) + "/" + file);
        std::vector<std::string> rows;  // those of a Markdown table or an HTML one
        for (std::string line; std::getline(in, line);)
            if (line.starts_with("| ") || line.find("<tr><td>") != std::string::npos ||
                line.find(kKindPhrases.back()) != std::string::npos)
                rows.push_back(line);
        ASSERT_GT(rows.size(), 20u) << file;
        for (const InputRow& row : inputTable()) {
            const std::string input = spelling(row.input, html), does = phrase(row.command);
            ASSERT_FALSE(does.empty()) << input << " does what no table row says";
            const bool told = std::any_of(rows.begin(), rows.end(), [&](const std::string& r) {
                return mentions(r, input) && r.find(does) != std::string::npos;
            });
            EXPECT_TRUE(told) << file << " does not say that " << input << " does " << does;
        }
    }
}

std::size_t rowOf(Input input, Where where) {
    const auto rows = inputTable();
    const auto found = std::find_if(rows.begin(), rows.end(), [&](const InputRow& r) {
        return r.input == input && r.where == where;
    });
    return static_cast<std::size_t>(found - rows.begin());
}

// The player's own keys: a cabinet row takes a free key of its kind, a key in use is refused
// with what it does, the recall's rows and the wheel stay, and the defaults come back whole.
TEST(Bindings, TakeAFreeKeyAndRefuseOneInUse) {
    InputBindings bindings;
    const std::size_t coin = rowOf({Input::Kind::Key, U'c'}, Where::Game);
    const struct {
        std::size_t row;
        Input input;
        const char* refusal;  // empty: taken
    } cases[] = {
        {coin, {Input::Kind::Key, U'a'}, "A already does: autoplay on or off"},
        {coin, {Input::Kind::Key, U' '}, "Space already does: pull the lever"},
        {coin, {Input::Kind::Pad, 0, PadButton::Start}, "That cannot be changed here"},
        {rowOf({Input::Kind::Key, 27}, Where::Recall),
         {Input::Kind::Key, U'q'},
         "That cannot be changed here"},
        {rowOf({Input::Kind::Wheel, 0, PadButton::A, -1}, Where::Game),
         {Input::Kind::Key, U'q'},
         "That cannot be changed here"},
        {coin, {Input::Kind::Key, U'k'}, ""},
        {rowOf({Input::Kind::Pad, 0, PadButton::X}, Where::Game),
         {Input::Kind::Pad, 0, PadButton::A},
         "A already does: pull the lever"},
    };
    for (const auto& c : cases) {
        std::string refusal;
        EXPECT_EQ(bindings.rebind(c.row, c.input, refusal), *c.refusal == 0) << c.refusal;
        EXPECT_EQ(refusal, c.refusal);
    }
    EXPECT_EQ(bindings.rows()[coin].input, (Input{Input::Kind::Key, U'k'}));
    bindings.restoreDefaults();
    EXPECT_TRUE(std::equal(bindings.rows().begin(), bindings.rows().end(), inputTable().begin(),
                           inputTable().end()));
}

using KeyBindings = testing::WholeProgram;

TEST_F(KeyBindings, ANewKeyActsAndItsOldOneNoLonger) {
    startAndReveal();
    const std::int32_t credit = state().credit;
    std::string refusal;
    ASSERT_TRUE(program->bindings().rebind(rowOf({Input::Kind::Key, U'c'}, Where::Game),
                                           {Input::Kind::Key, U'k'}, refusal));
    type(U'c');
    EXPECT_EQ(state().credit, credit);
    type(U'k');
    EXPECT_EQ(state().credit, credit + 1000);
}

// F11 and Alt+Enter switch the window's mode whatever is shown: while the reels turn, and while
// the preferences screen awaits a new key, which they do not become.
TEST_F(KeyBindings, TheWindowModeKeysSwitchWhateverIsShown) {
    startAndReveal();
    program->input().route(InputEvent::typed(U' '));
    program->input().route(InputEvent::windowModeKey(WindowModeKey::F11));
    EXPECT_EQ(platform->windowModeSwitches(), 1);
    settle();
    type(U'p');
    for (int line = 0; line < 9; ++line) program->input().route(InputEvent::arrowKey(Arrow::Down));
    program->input().route(InputEvent::enter());
    ASSERT_TRUE(program->preferencesScreen().form().capturing());
    program->input().route(InputEvent::windowModeKey(WindowModeKey::AltEnter));
    EXPECT_EQ(platform->windowModeSwitches(), 2);
    EXPECT_TRUE(program->preferencesScreen().form().capturing());
}

// What lies under a point of each screen, at an offset of the cabinet.
struct PointCase {
    const char* name;
    char32_t opens;  // the key that shows the screen first, or 0 for the cabinet
    L::Offset at;
    int x, y;
    std::optional<Control> control;
    bool onFace;
};

class ControlsUnder : public testing::WholeProgram,
                      public ::testing::WithParamInterface<PointCase> {};

TEST_P(ControlsUnder, APoint) {
    const PointCase& c = GetParam();
    startAndReveal();
    if (c.opens != 0) program->input().route(InputEvent::typed(c.opens));
    const ControlScreen& screen = c.opens == U's' ? static_cast<ControlScreen&>(program->settings())
                                  : c.opens == U'r' ? static_cast<ControlScreen&>(program->recall())
                                                    : program->view();
    const auto [x, y] = onCabinet(c.at, c.x, c.y);
    const std::optional<ControlHit> hit = screen.controlAt(x, y);
    ASSERT_EQ(hit.has_value(), c.control.has_value());
    if (!hit) return;
    EXPECT_EQ(hit->control, *c.control);
    EXPECT_EQ(hit->onFace, c.onFace);
}

using CK = ControlKind;
INSTANTIATE_TEST_SUITE_P(
    Table, ControlsUnder,
    ::testing::Values(
        PointCase{"KnobCentre", 0, L::kLeverAt, 26, 26, Control{CK::Lever}, true},
        PointCase{"BesideTheKnob", 0, L::kLeverAt, 45, 45, Control{CK::Lever}, false},
        PointCase{"CoinFaceTop", 0, L::kCoinAt, 26, 0, Control{CK::Button, Button::Coin}, true},
        PointCase{"CoinCorner", 0, L::kCoinAt, 52, 52, Control{CK::Button, Button::Coin}, false},
        PointCase{"BetUpFace", 0, L::kBetUpAt, 16, 16, Control{CK::Button, Button::BetUp}, true},
        PointCase{"Reel2", 0, L::kReelsAt[1], 60, 60, Control{CK::Hold, Button::Help, 2}, true},
        PointCase{"Lamp3", 0, L::kLampsAt[2], 10, 5, Control{CK::Hold, Button::Help, 3}, true},
        PointCase{"CreditMeter", 0, L::kCreditMeterAt, 5, 5, std::nullopt, true},
        PointCase{"SettingsOk", U's', L::kOkAt, 26, 26, Control{CK::Button, Button::SettingsOk},
                  true},
        PointCase{"ResetCorner", U's', L::kResetAt, 40, 40,
                  Control{CK::Button, Button::SettingsReset}, false},
        PointCase{"Switch3", U's', L::kSwitchesAt[3], 10, 10,
                  Control{CK::OptionSwitch, Button::Help, 3}, true},
        PointCase{"RecallButton", U's', L::kRecallButtonAt, 16, 16,
                  Control{CK::Button, Button::SettingsRecall}, true},
        PointCase{"SettingsBeside", U's', L::kLeverAt, 26, 26, std::nullopt, true},
        PointCase{"RecallOk", U'r', L::kOkAt, 26, 26, Control{CK::Button, Button::RecallOk}, true},
        PointCase{"RecallOkCorner", U'r', L::kOkAt, 60, 60, Control{CK::Button, Button::RecallOk},
                  false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace fruvana
