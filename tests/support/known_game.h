#pragma once
// One game of every part, as the recall keeps it and as recall.dat holds it byte for byte:
// begun 2026-12-07 12:00:00 UTC at bet 7, a first deal of two bars whose win was collected,
// reel 1 held as suggested and reel 2 as chosen, and a second deal of three bars.

#include "engine/game_record.h"
#include "tests/support/files.h"

namespace fruvana::testing {

inline GameRecord knownGame() {
    GameRecord g;
    g.startedAt = 1'796'644'800;
    g.bet = 7;
    g.before = {1000, 20, -1000};
    g.firstLine = {1, 5, 9};
    g.firstClass = ComboClass::AnyTwoBars;
    g.secondDealt = true;
    g.collected = true;
    g.holds = {HoldSource::Suggested, HoldSource::Chosen, HoldSource::NotHeld};
    g.secondLine = {1, 5, 6};
    g.secondClass = ComboClass::AnyThreeBars;
    g.paid = 140;
    g.after = {0, 105, 33};
    return g;
}

// Format 1, one game, the record, and the FNV-1a checksum of all before it.
inline const Bytes kKnownGameFile{
    0x01, 0x01, 0xC0, 0x9F, 0x16, 0x6B, 0x00, 0x00, 0x00, 0x00, 0x07, 0x00, 0x00, 0x00, 0xE8,
    0x03, 0x00, 0x00, 0x14, 0x00, 0x00, 0x00, 0x18, 0xFC, 0xFF, 0xFF, 0x01, 0x05, 0x09, 0x0A,
    0x05, 0x01, 0x02, 0x00, 0x01, 0x05, 0x06, 0x07, 0x8C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x69, 0x00, 0x00, 0x00, 0x21, 0x00, 0x00, 0x00, 0xED, 0xA8, 0xB3, 0xDE};

}  // namespace fruvana::testing
