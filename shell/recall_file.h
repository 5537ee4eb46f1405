#pragma once
// The bytes of the recall file, recall.dat: the last ten games in fixed little-endian records.
//
//   byte 0        format, 1
//   byte 1        how many games follow, 0 to 10
//   52 per game   newest first (layout in recall_file.cpp)
//   last 4        FNV-1a checksum of every byte before it
//
// A file that is short, long, of another format, fails its checksum or holds a value no game
// can have is refused whole.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "engine/game_record.h"

namespace fruvana {

inline constexpr std::uint8_t kRecallFormat = 1;
inline constexpr std::size_t kRecallRecordSize = 52;
inline constexpr std::size_t kRecallFileMaxSize = 2 + kRecalledGames * kRecallRecordSize + 4;

// At most the first ten games are written.
std::vector<std::uint8_t> encodeRecall(const GameRecall& recall);
// The games, or nothing when the bytes are not a whole, sound recall file.
std::optional<GameRecall> decodeRecall(std::span<const std::uint8_t> bytes);

}  // namespace fruvana
