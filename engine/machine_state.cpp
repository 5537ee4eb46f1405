#include "engine/machine_state.h"

#include <limits>
#include <stdexcept>

namespace fruvana {

std::uint8_t& Options::at(int index) {
    switch (index) {
        case 0:
            return autoBet;
        case 1:
            return secondDeal;
        case 2:
            return smartHold;
        case 3:
            return voiceFx;
        case 4:
            return soundFx;
        default:
            throw std::out_of_range("option index");
    }
}

std::uint8_t Options::at(int index) const {
    return const_cast<Options*>(this)->at(index);
}

MachineState freshMachineState() {
    MachineState state;
    state.bet = 5;
    state.credit = 1000;
    state.account = -1000;
    state.paytableMultipliers = kPaytableMultipliers;
    state.phase = 1;
    state.options = kDefaultOptions;
    state.inputEnabled = 1;
    return state;
}

std::int32_t saturatingAdd(std::int32_t a, std::int32_t b) {
    const std::int64_t sum = static_cast<std::int64_t>(a) + b;
    if (sum > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (sum < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(sum);
}

}  // namespace fruvana
