#pragma once
// The user-interface thread's loop. All game state lives on that thread: input, hand-overs from
// other threads, timers and painting all run here, and handlers may run nested inside a delay.

#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/frame_timer.h"
#include "platform/platform.h"

namespace fruvana {

class LoopTimer;

class EventLoop {
  public:
    explicit EventLoop(Platform& platform);
    ~EventLoop();
    EventLoop(const EventLoop&) = delete;
    EventLoop& operator=(const EventLoop&) = delete;

    Platform& platform() { return platform_; }
    std::uint64_t nowMs() const { return platform_.ticksMs(); }

    // Called for every input event, on this thread.
    std::function<void(const InputEvent&)> onInput;
    // Called once at the end of every pumpPending(), to paint what has changed.
    std::function<void()> onPaint;
    // Called with one line (what was lost and why) when a handler the loop runs throws: an
    // input handler, a hand-over, a timer's tick or the painting. Unset, the line goes to
    // stderr and the loop goes on.
    std::function<void(const std::string&)> onHandlerFailure;

    // Handles everything pending once: input, hand-overs, due timers, painting; then returns.
    void pumpPending();
    // Returns after at least ms milliseconds, handling events meanwhile (handlers may run
    // nested in the caller), blocking in the platform's wait rather than spinning.
    void delay(std::uint32_t ms);
    // Runs until quit() is called, then returns.
    void run();
    void quit() { quitRequested_ = true; }
    // The loop as it was made: no quit asked for and no hand-over waiting (the timers keep
    // their own state). Never from inside a handler.
    void restart();
    bool quitRequested() const { return quitRequested_; }

    // Queues task to run on this thread during a later pumpPending(). Any thread may call it.
    void post(std::function<void()> task);

    // Runs handler; what it throws ends there, and reaches onHandlerFailure as "lost: why".
    template <typename Handler>
    void runHandler(std::string_view lost, Handler&& handler) {
        try {
            std::forward<Handler>(handler)();
        } catch (const std::exception& e) {
            handlerFailed(std::string(lost) + ": " + e.what());
        } catch (...) {
            handlerFailed(std::string(lost) + " to an unknown failure");
        }
    }

  private:
    friend class LoopTimer;
    void handlerFailed(const std::string& why);
    void runPosted();
    void runDueTimers();
    // How long the loop may sleep before a timer is due, capped at limitMs.
    std::uint32_t sleepBudget(std::uint32_t limitMs) const;

    Platform& platform_;
    bool quitRequested_ = false;
    std::mutex postedMutex_;
    std::deque<std::function<void()>> posted_;
    std::vector<LoopTimer*> timers_;
    std::uint64_t nextTimerId_ = 1;
};

// A timer driven by the loop's clock; registers itself with the loop for its lifetime.
class LoopTimer {
  public:
    explicit LoopTimer(EventLoop& loop);
    virtual ~LoopTimer();
    LoopTimer(const LoopTimer&) = delete;
    LoopTimer& operator=(const LoopTimer&) = delete;

  protected:
    friend class EventLoop;
    EventLoop& loop() { return loop_; }
    // When the timer next wants to fire, on the loop's clock; nothing while it is idle.
    std::optional<std::uint64_t> due_;
    // Called by the loop once due_ has passed. May destroy this timer.
    virtual void fire() = 0;

  private:
    EventLoop& loop_;
    std::uint64_t id_;
};

// A periodic timer on the user-interface thread, like the game's autoplay (4000 ms) and
// intro (3500 ms) timers. Disabled at start. Like a desktop window timer it re-arms when
// its tick is taken up, so a tick may come again inside its own handler's delay; the game's
// input guard is what keeps that harmless.
class UiTimer : public LoopTimer {
  public:
    explicit UiTimer(EventLoop& loop, std::uint32_t intervalMs = 1000);

    bool enabled() const { return enabled_; }
    void setEnabled(bool value);
    std::uint32_t interval() const { return interval_; }
    // A change restarts the wait; 0 stops the ticks while keeping Enabled.
    void setInterval(std::uint32_t ms);

    std::function<void(UiTimer& sender)> onTimer;

  private:
    void fire() override;
    void arm();

    bool enabled_ = false;
    std::uint32_t interval_;
};

// The frame timer for headless runs: the threaded timer's timing rules on the loop's clock.
class LoopFrameTimer : public FrameTimer, public LoopTimer {
  public:
    explicit LoopFrameTimer(EventLoop& loop);
    ~LoopFrameTimer() override;

    bool enabled() const override { return enabled_; }
    void setEnabled(bool value) override;
    std::uint32_t interval() const override { return interval_; }
    void setInterval(std::uint32_t ms) override;
    bool allowZero() const override { return allowZero_; }
    void setAllowZero(bool value) override { allowZero_ = value; }
    PriorityLevel threadPriority() const override { return priority_; }
    void setThreadPriority(PriorityLevel level) override { priority_ = level; }

  private:
    void fire() override;
    bool mayRun() const { return interval_ != 0 || allowZero_; }

    bool enabled_ = false;
    bool allowZero_ = false;
    bool inHandler_ = false;
    std::uint32_t interval_ = 1000;
    PriorityLevel priority_ = PriorityLevel::Normal;
    // Lets a tick that is still on the stack notice that its handler destroyed the timer.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace fruvana
