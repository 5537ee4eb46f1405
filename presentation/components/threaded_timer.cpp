#include "presentation/components/threaded_timer.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "platform/auto_reset_event.h"

namespace fruvana {

struct ThreadedTimer::Shared {
    explicit Shared(EventLoop& l) : loop(l) {}

    EventLoop& loop;
    // Cuts a running wait short; signalled on enabling and on destruction.
    AutoResetEvent wakeEvent;
    std::atomic<std::uint32_t> interval = 1000;
    std::atomic<PriorityLevel> priority = PriorityLevel::Normal;
    std::atomic<bool> priorityChanged = false;

    // The pause gate and the hand-over share one mutex and one condition.
    std::mutex mutex;
    std::condition_variable changed;
    bool running = false;
    bool terminated = false;
    std::uint64_t ticksHanded = 0;
    std::uint64_t ticksDone = 0;

    // Touched on the user-interface thread only; null once the timer is being destroyed.
    ThreadedTimer* owner = nullptr;

    // Runs on the user-interface thread for every tick the thread hands over.
    void dispatchTick() {
        ThreadedTimer* timer = owner;
        if (timer != nullptr && timer->enabled_ && timer->onTimer) {
            // The handler may destroy the timer: call a copy and touch nothing of it afterwards.
            auto handler = timer->onTimer;
            // A failing tick is reported; the timer keeps running.
            loop.runHandler("a frame timer tick was lost", [&] { handler(*timer); });
        }
        {
            std::lock_guard lock(mutex);
            ++ticksDone;
        }
        changed.notify_all();
    }
};

ThreadedTimer::ThreadedTimer(EventLoop& loop) : shared_(std::make_shared<Shared>(loop)) {
    shared_->owner = this;
    thread_ = std::thread(&ThreadedTimer::threadLoop, shared_);
}

ThreadedTimer::~ThreadedTimer() {
    enabled_ = false;
    shared_->owner = nullptr;
    {
        std::lock_guard lock(shared_->mutex);
        // Also releases a thread that waits for the tick we may be inside of right now.
        shared_->terminated = true;
    }
    shared_->changed.notify_all();
    shared_->wakeEvent.set();
    thread_.join();
}

// Deliberate: the thread takes its own share of the state by value, so the state lives as long
// as the thread does, whatever happens to the timer object.
// NOLINTNEXTLINE(performance-unnecessary-value-param)
void ThreadedTimer::threadLoop(std::shared_ptr<Shared> shared) {
    Shared& s = *shared;
    for (;;) {
        {
            std::unique_lock lock(s.mutex);
            s.changed.wait(lock, [&] { return s.running || s.terminated; });
            if (s.terminated) return;
        }
        if (s.priorityChanged.exchange(false)) {
            // Without the privileges for it this fails, and the timer simply keeps its priority.
            s.loop.platform().setCurrentThreadPriority(s.priority.load());
        }
        const bool signalled = s.wakeEvent.waitFor(s.interval.load());
        if (signalled) continue;  // enabled anew, interval changed or ending: no tick

        std::unique_lock lock(s.mutex);
        if (s.terminated) return;
        if (!s.running) continue;  // disabled while we waited
        const std::uint64_t ticket = ++s.ticksHanded;
        lock.unlock();
        s.loop.post([shared] { shared->dispatchTick(); });
        lock.lock();
        s.changed.wait(lock, [&] { return s.ticksDone >= ticket || s.terminated; });
        if (s.terminated) return;
    }
}

void ThreadedTimer::pause() {
    std::lock_guard lock(shared_->mutex);
    shared_->running = false;
}

void ThreadedTimer::resume() {
    // Signal first, then open the gate, so the thread never sees a running timer whose wait
    // was not yet restarted.
    shared_->wakeEvent.set();
    {
        std::lock_guard lock(shared_->mutex);
        shared_->running = true;
    }
    shared_->changed.notify_all();
}

void ThreadedTimer::setEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    if (!value) {
        pause();
        return;
    }
    // An interval of 0 only runs when allowed; otherwise the timer reads enabled but waits.
    if (shared_->interval.load() != 0 || allowZero_) resume();
}

std::uint32_t ThreadedTimer::interval() const {
    return shared_->interval.load();
}

void ThreadedTimer::setInterval(std::uint32_t ms) {
    if (ms == shared_->interval.load()) return;
    const bool wasEnabled = enabled_;
    setEnabled(false);
    shared_->interval = ms;
    setEnabled(wasEnabled);
}

PriorityLevel ThreadedTimer::threadPriority() const {
    return shared_->priority.load();
}

void ThreadedTimer::setThreadPriority(PriorityLevel level) {
    shared_->priority = level;
    shared_->priorityChanged = true;
}

}  // namespace fruvana
