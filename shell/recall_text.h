#pragma once
// The recalled games as words and figures: the columns of the recall screen, the same columns
// as one line of text for the command line, and the session's summary line.

#include <cstdint>
#include <string>

#include "engine/game_record.h"

namespace fruvana {

// The columns of one recalled game. The reel symbols are shown as pictures on the screen and as
// names in text.
struct RecallColumns {
    std::string time;    // "12-07 15:04", local time
    std::string bet;     // "5"
    std::string holds;   // one letter a reel: S suggested, C chosen, - not held; empty without
                         // a second deal unless all three were held
    std::string result;  // the class of the deal that decided the game, "no win", or
                         // "unfinished"
    std::string paid;
    std::string before;  // credit + win on the machine before the stake
    std::string after;   // and when the game ended
};

RecallColumns recallColumns(const GameRecord& game);

// The symbol's short name: BAR, BELL, 7, GRAPES, 2BAR, 3BAR, RED7, BLUE7, CHERRY, MELON.
std::string symbolName(int symbol);

// One game as a line of text, the screen's columns in order, the symbols by name.
std::string recallLine(const GameRecord& game);
// The titles of the columns, lined up with recallLine.
std::string recallHeading();

// "This session: 42 min, 118 games, net +350"
std::string sessionLine(const SessionSummary& session, std::int64_t now, std::int64_t moneyNow);

}  // namespace fruvana
