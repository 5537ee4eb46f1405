#include "shell/spoken_play.h"

#include <array>
#include <cctype>
#include <vector>

#include "engine/symbols.h"
#include "presentation/translation.h"
#include "shell/input_table.h"

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

}  // namespace

std::string spokenSymbol(int symbol) {
    if (symbol < 1 || symbol > kSymbolCount) return {};
    return tr(kSymbolNames[static_cast<std::size_t>(symbol - 1)].spoken);
}

std::string dealSentence(const Line& line, const ResultReport& result, std::int32_t credit,
                         const Holds& held) {
    std::string text = tr(GameText{
        translatable("%s, %s, %s."),
        {spokenSymbol(line[0]), lowered(spokenSymbol(line[1])), lowered(spokenSymbol(line[2]))}});
    if (result.comboClass == ComboClass::NoWin) {
        text += " " + tr(GameText{translatable("No win.")});
    } else {
        text += " " + tr(GameText{translatable("%s, %s paid."),
                                  {capitalised(tr(comboClassText(result.comboClass))),
                                   std::to_string(result.win)}});
    }
    text += " " + tr(GameText{translatable("Credit %s."), {std::to_string(credit)}});
    const bool allHeld = held[0] && held[1] && held[2];
    if (!result.gameOver || allHeld) text += " " + holdsSentence(held);
    return text;
}

std::string holdsSentence(const Holds& held) {
    std::array<std::string, 3> reels;
    std::size_t count = 0;
    for (std::size_t n = 0; n < held.size(); ++n)
        if (held[n]) reels[count++] = std::to_string(n + 1);
    // With all three held, the next pull deals nothing free: it says so, as the lamps show it.
    constexpr std::array<std::string_view, 4> kSentences{
        translatable("No holds."), translatable("Holding reel %s."),
        translatable("Holding reels %s and %s."),
        translatable("All three reels held: the next pull banks the win and starts a new game.")};
    return tr(GameText{kSentences[count], reels});
}

std::string metersSentence(Meter changed, std::int32_t credit, std::int32_t win, std::int32_t bet) {
    const std::string creditText =
        tr(GameText{translatable("Credit %s."), {std::to_string(credit)}});
    const std::string winText = tr(GameText{translatable("Win %s."), {std::to_string(win)}});
    const std::string betText = tr(GameText{translatable("Bet %s."), {std::to_string(bet)}});
    if (changed == Meter::Bet) return betText + " " + creditText + " " + winText;
    return creditText + " " + winText + " " + betText;
}

std::string controlSentence(const Control& control, const Options& options) {
    if (control.kind == ControlKind::OptionSwitch) {
        const bool* option = optionOnScreenRow(options, control.index);
        if (option == nullptr) return {};
        const std::string name = tr(kOptionNames[static_cast<std::size_t>(control.index)]);
        return tr(GameText{*option ? translatable("%s, on.") : translatable("%s, off."), {name}});
    }
    if (control.kind != ControlKind::Button) return {};
    return capitalised(actionWords(Command{Command::Kind::Press, control.button})) + ".";
}

void SpokenPlay::say(std::string_view text) {
    if (enabled_ && !text.empty()) speech_.say(text);
}

void SpokenPlay::pulled(const PullReport& pull) {
    switch (pull.refused) {
        case PullReport::Refusal::ShortOfCredit:
            return say(tr("Not enough credit for the bet."));
        case PullReport::Refusal::WinPending:
            return say(tr("The account is full: the win stays on the machine."));
        case PullReport::Refusal::None:
            return;
    }
}

void SpokenPlay::evaluated(const ResultReport& result) {
    say(dealSentence(state_.reelSymbols, result, state_.credit, state_.held));
}

void SpokenPlay::metersChanged(Meter changed) {
    say(metersSentence(changed, state_.credit, state_.win, state_.bet));
}

void SpokenPlay::messageShown(const std::string& text) {
    say(text);
}

void SpokenPlay::controlPressed(const Control& control) {
    say(controlSentence(control, state_.options));
}

void SpokenPlay::overlayOpened(const OverlayScreen& screen) {
    say(screen.spokenOnOpening());
}

void SpokenPlay::formMoved(const FormScreen& form) {
    say(form.spokenAfterMove());
}

}  // namespace fruvana
