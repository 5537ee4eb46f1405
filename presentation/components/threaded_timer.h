#pragma once
// A timer whose waiting is done by a thread of its own, at a priority its owner chooses, while
// every tick is handed to the user-interface thread and runs there like any other handler.
// The timer thread waits until the handler has returned, so no game state is ever touched by
// two threads.

#include <cstdint>
#include <memory>
#include <thread>

#include "platform/event_loop.h"
#include "platform/frame_timer.h"

namespace fruvana {

class ThreadedTimer : public FrameTimer {
  public:
    // The thread starts paused. The loop must outlive the timer.
    explicit ThreadedTimer(EventLoop& loop);
    // Safe on an enabled timer and from inside the timer's own handler; no tick follows.
    ~ThreadedTimer() override;
    ThreadedTimer(const ThreadedTimer&) = delete;
    ThreadedTimer& operator=(const ThreadedTimer&) = delete;

    bool enabled() const override { return enabled_; }
    void setEnabled(bool value) override;
    std::uint32_t interval() const override;
    void setInterval(std::uint32_t ms) override;
    bool allowZero() const override { return allowZero_; }
    void setAllowZero(bool value) override { allowZero_ = value; }
    PriorityLevel threadPriority() const override;
    void setThreadPriority(PriorityLevel level) override;

  private:
    struct Shared;
    static void threadLoop(std::shared_ptr<Shared> shared);
    void pause();
    void resume();

    bool enabled_ = false;
    bool allowZero_ = false;
    // Shared with the thread and with hand-overs still queued after the timer is gone.
    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};

}  // namespace fruvana
