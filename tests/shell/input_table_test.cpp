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

// How each command reads in the tables, in the order of the push buttons and of the other
// kinds (empty: not a command of the input table), and how each input is spelt: controller
// buttons, and the keys that are not their own capital letter or digit, as the README names
// them and as the help page's key caps show them.
constexpr std::array<std::string_view, kButtonCount> kButtonPhrases{
    "help page",       "",        "bet down", "bet up",
    "insert a coin",   "collect", "settings", "autoplay on or off",
    "their OK button", "",        "",         ""};
constexpr std::array<std::string_view, 7> kKindPhrases{
    "pull the lever", "hold or release", "", "", "game recall", "closes it", "save and quit"};
const std::map<PadButton, std::string> kPadNames{
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
    {PadButton::RightShoulder, "left and right shoulder"}};
const std::map<char32_t, std::pair<std::string, std::string>> kKeyNames{{U'\r', {"Enter", "Enter"}},
                                                                        {U' ', {"Space", "Space"}},
                                                                        {27, {"Escape", "Esc"}},
                                                                        {U',', {"comma", ","}},
                                                                        {U'.', {"full stop", "."}}};

std::string phrase(const Command& c) {
    return std::string(c.kind == Kind::Press || c.kind == Kind::Click
                           ? kButtonPhrases[static_cast<std::size_t>(c.button)]
                           : kKindPhrases[static_cast<std::size_t>(c.kind)]);
}
std::string spelling(const Input& input, bool html) {
    if (input.kind == Input::Kind::Wheel) return "mouse wheel";
    if (input.kind == Input::Kind::Pad) return kPadNames.at(input.pad);
    const auto named = kKeyNames.find(input.key);
    const std::string name =
        named == kKeyNames.end()
            ? std::string(1, static_cast<char>(std::toupper(static_cast<int>(input.key))))
            : (html ? named->second.second : named->second.first);
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
        // The document's table rows: those of a Markdown table or an HTML one.
        std::ifstream in(std::string(FRUVANA_SOURCE_DIR) + "/" + file);
        std::vector<std::string> rows;
        for (std::string line; std::getline(in, line);)
            if (line.starts_with("| ") || line.find("<tr><td>") != std::string::npos)
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

constexpr auto press = [](Button b) { return Control{ControlKind::Button, b}; };
constexpr auto hold = [](int reel) { return Control{ControlKind::Hold, Button::Help, reel}; };
INSTANTIATE_TEST_SUITE_P(
    Table, ControlsUnder,
    ::testing::Values(
        PointCase{"KnobCentre", 0, L::kLeverAt, 26, 26, Control{ControlKind::Lever}, true},
        PointCase{"BesideTheKnob", 0, L::kLeverAt, 45, 45, Control{ControlKind::Lever}, false},
        PointCase{"CoinFaceTop", 0, L::kCoinAt, 26, 0, press(Button::Coin), true},
        PointCase{"CoinCorner", 0, L::kCoinAt, 52, 52, press(Button::Coin), false},
        PointCase{"BetUpFace", 0, L::kBetUpAt, 16, 16, press(Button::BetUp), true},
        PointCase{"Reel2", 0, L::kReelsAt[1], 60, 60, hold(2), true},
        PointCase{"Lamp3", 0, L::kLampsAt[2], 10, 5, hold(3), true},
        PointCase{"CreditMeter", 0, L::kCreditMeterAt, 5, 5, std::nullopt, true},
        PointCase{"SettingsOk", U's', L::kOkAt, 26, 26, press(Button::SettingsOk), true},
        PointCase{"ResetCorner", U's', L::kResetAt, 40, 40, press(Button::SettingsReset), false},
        PointCase{"Switch3", U's', L::kSwitchesAt[3], 10, 10,
                  Control{ControlKind::OptionSwitch, Button::Help, 3}, true},
        PointCase{"RecallButton", U's', L::kRecallButtonAt, 16, 16, press(Button::SettingsRecall),
                  true},
        PointCase{"SettingsBeside", U's', L::kLeverAt, 26, 26, std::nullopt, true},
        PointCase{"RecallOk", U'r', L::kOkAt, 26, 26, press(Button::RecallOk), true},
        PointCase{"RecallOkCorner", U'r', L::kOkAt, 60, 60, press(Button::RecallOk), false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace fruvana
