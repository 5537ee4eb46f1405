#include "shell/recall_text.h"

#include <array>
#include <cstdio>
#include <ctime>

#include "engine/symbols.h"
#include "presentation/translation.h"

namespace fruvana {

namespace {

std::string lineOf(bool shown, const Line& line) {
    if (!shown) return "-";
    std::string out;
    for (const std::uint8_t s : line) {
        if (!out.empty()) out += ' ';
        out += symbolName(s);
    }
    return out;
}

std::string padded(const std::string& text, std::size_t width) {
    return text.size() >= width ? text + ' ' : text + std::string(width - text.size(), ' ');
}

}  // namespace

std::string symbolName(int symbol) {
    if (symbol < 1 || symbol > kSymbolCount) return "?";
    return std::string(kSymbolNames[static_cast<std::size_t>(symbol - 1)].code);
}

RecallColumns recallColumns(const GameRecord& game) {
    RecallColumns c;
    const std::time_t when = static_cast<std::time_t>(game.startedAt);
    std::tm local{};
    char time[32] = "";
    if (localtime_r(&when, &local) != nullptr)
        std::strftime(time, sizeof time, "%m-%d %H:%M", &local);
    c.time = time;
    c.bet = std::to_string(game.bet);
    const bool allHeld = game.holds[0] != HoldSource::NotHeld &&
                         game.holds[1] != HoldSource::NotHeld &&
                         game.holds[2] != HoldSource::NotHeld;
    if (game.secondDealt || allHeld) {
        for (const HoldSource h : game.holds)
            c.holds += h == HoldSource::Suggested ? 'S' : h == HoldSource::Chosen ? 'C' : '-';
    }
    const ComboClass decided = game.secondDealt ? game.secondClass : game.firstClass;
    c.result = game.unfinished ? tr("unfinished") : tr(comboClassText(decided));
    // Credit and win taken out between the deals: the first deal's win is part of what was paid.
    if (game.collected) c.result = tr(GameText{translatable("collected, %s"), {c.result}});
    c.paid = std::to_string(game.paid);
    c.before = std::to_string(std::int64_t{game.before.credit} + game.before.win);
    c.after = std::to_string(std::int64_t{game.after.credit} + game.after.win);
    return c;
}

std::string recallHeading() {
    return padded(tr("TIME"), 12) + padded(trIn("recall column", "BET"), 4) +
           padded(tr("1st DEAL"), 20) + padded(tr("HOLDS"), 6) + padded(tr("2nd DEAL"), 20) +
           padded(tr("RESULT"), 18) + padded(tr("PAID"), 6) + padded(tr("BEFORE"), 8) + tr("AFTER");
}

std::string recallLine(const GameRecord& game) {
    const RecallColumns c = recallColumns(game);
    return padded(c.time, 12) + padded(c.bet, 4) + padded(lineOf(true, game.firstLine), 20) +
           padded(c.holds.empty() ? "-" : c.holds, 6) +
           padded(lineOf(game.secondDealt, game.secondLine), 20) + padded(c.result, 18) +
           padded(c.paid, 6) + padded(c.before, 8) + c.after;
}

std::string sessionLine(const SessionSummary& session, std::int64_t now, std::int64_t moneyNow) {
    const std::int64_t minutes = now > session.startedAt ? (now - session.startedAt) / 60 : 0;
    const std::int64_t net = moneyNow - session.moneyAtStart;
    const GameText words{session.games == 1
                             ? translatable("This session: %s min, %s game, net %s")
                             : translatable("This session: %s min, %s games, net %s"),
                         {std::to_string(minutes), std::to_string(session.games),
                          (net > 0 ? "+" : "") + std::to_string(net)}};
    return tr(words);
}

}  // namespace fruvana
