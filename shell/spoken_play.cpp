#include "shell/spoken_play.h"

#include <array>
#include <cctype>
#include <vector>

#include "engine/symbols.h"
#include "shell/input_router.h"

namespace fruvana {

namespace {

std::string capitalised(std::string_view text) {
    std::string out(text);
    if (!out.empty()) out[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(out[0])));
    return out;
}

std::string lowered(std::string_view text) {
    std::string out(text);
    if (!out.empty()) out[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(out[0])));
    return out;
}

// The settings screen's switches, by screen row.
constexpr std::array<std::string_view, Options::kCount> kSwitchNames{
    "Auto bet", "Second deal", "Smart hold", "Sound effects", "Voice effects"};

}  // namespace

std::string_view spokenSymbol(int symbol) {
    constexpr std::array<std::string_view, kSymbolCount> kNames{
        "Single bar", "Bell",      "Yellow seven", "Grapes", "Double bar",
        "Triple bar", "Red seven", "Blue seven",   "Cherry", "Melon"};
    if (symbol < 1 || symbol > kSymbolCount) return {};
    return kNames[static_cast<std::size_t>(symbol - 1)];
}

std::string dealSentence(const Line& line, const ResultReport& result, std::int32_t credit,
                         const Holds& held) {
    std::string text = std::string(spokenSymbol(line[0])) + ", " + lowered(spokenSymbol(line[1])) +
                       ", " + lowered(spokenSymbol(line[2])) + ". ";
    if (result.comboClass == ComboClass::NoWin) {
        text += "No win.";
    } else {
        text += capitalised(comboClassText(result.comboClass)) + ", " + std::to_string(result.win) +
                " paid.";
    }
    text += " Credit " + std::to_string(credit) + ".";
    if (!result.gameOver) text += " " + holdsSentence(held);
    return text;
}

std::string holdsSentence(const Holds& held) {
    std::vector<std::string> reels;
    for (std::size_t n = 0; n < held.size(); ++n)
        if (held[n]) reels.push_back(std::to_string(n + 1));
    if (reels.empty()) return "No holds.";
    std::string text = reels.size() == 1 ? "Holding reel " : "Holding reels ";
    for (std::size_t i = 0; i < reels.size(); ++i) {
        text += reels[i];
        if (i + 2 < reels.size()) text += ", ";
        if (i + 2 == reels.size()) text += " and ";
    }
    return text + ".";
}

std::string metersSentence(Meter changed, std::int32_t credit, std::int32_t win, std::int32_t bet) {
    const std::string creditText = "Credit " + std::to_string(credit) + ".";
    const std::string winText = "Win " + std::to_string(win) + ".";
    const std::string betText = "Bet " + std::to_string(bet) + ".";
    if (changed == Meter::Bet) return betText + " " + creditText + " " + winText;
    return creditText + " " + winText + " " + betText;
}

std::string controlSentence(const Control& control, const Options& options) {
    if (control.kind == ControlKind::OptionSwitch) {
        const bool* option = optionOnScreenRow(options, control.index);
        if (option == nullptr) return {};
        return std::string(kSwitchNames[static_cast<std::size_t>(control.index)]) +
               (*option ? ", on." : ", off.");
    }
    if (control.kind != ControlKind::Button) return {};
    return capitalised(actionText(Command{Command::Kind::Press, control.button})) + ".";
}

void SpokenPlay::say(std::string_view text) {
    if (enabled_ && !text.empty()) speech_.say(text);
}

void SpokenPlay::evaluated(const ResultReport& result) {
    say(dealSentence(state_.reelSymbols, result, state_.credit, state_.held));
}

void SpokenPlay::metersChanged(Meter changed) {
    say(metersSentence(changed, state_.credit, state_.win, state_.bet));
}

}  // namespace fruvana
