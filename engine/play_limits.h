#pragma once
// The limits the player sets on play: when autoplay stops by itself. They change what the game
// does, so the engine applies them; every other preference is the shell's.

#include <optional>

namespace fruvana {

// When autoplay stops by itself; each limit is off when empty.
struct AutoplayLimits {
    std::optional<int> games;       // after this many games
    std::optional<int> winAtLeast;  // when one game pays at least this many credits
    std::optional<int> netLoss;     // when the session's net falls to minus this many credits
    friend bool operator==(const AutoplayLimits&, const AutoplayLimits&) = default;
};

}  // namespace fruvana
