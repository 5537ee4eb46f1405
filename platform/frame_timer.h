#pragma once
// The reel animation's clock. The real program uses a timer that waits on a thread of its own;
// headless runs use LoopFrameTimer on the virtual clock. Both keep the same timing rules:
// the first tick comes one interval after enabling, each next tick one interval after the
// previous handler returned; ticks never overlap, queue up or catch up.

#include <cstdint>
#include <functional>

#include "platform/platform.h"

namespace fruvana {

class FrameTimer {
  public:
    virtual ~FrameTimer() = default;

    virtual bool enabled() const = 0;
    virtual void setEnabled(bool value) = 0;
    // Milliseconds from the end of one tick to the next; a change restarts the wait.
    virtual std::uint32_t interval() const = 0;
    virtual void setInterval(std::uint32_t ms) = 0;
    // Whether an interval of 0 may run at all (as fast as ticks can be delivered).
    virtual bool allowZero() const = 0;
    virtual void setAllowZero(bool value) = 0;
    virtual PriorityLevel threadPriority() const = 0;
    virtual void setThreadPriority(PriorityLevel level) = 0;

    // Runs on the user-interface thread at every tick. Errors that escape it are passed over
    // with one line on stderr and the timer keeps running. It may disable, re-enable or even
    // destroy its own timer.
    std::function<void(FrameTimer& sender)> onTimer;
};

}  // namespace fruvana
