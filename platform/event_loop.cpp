#include "platform/event_loop.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <limits>

namespace fruvana {

namespace {
// Longest single sleep of run(); the loop wakes for input and hand-overs anyway.
constexpr std::uint32_t kIdleSleepMs = 1000;
}  // namespace

EventLoop::EventLoop(Platform& platform) : platform_(platform) {}

EventLoop::~EventLoop() = default;

void EventLoop::post(std::function<void()> task) {
    {
        std::lock_guard lock(postedMutex_);
        posted_.push_back(std::move(task));
    }
    platform_.wake();
}

void EventLoop::restart() {
    quitRequested_ = false;
    std::lock_guard lock(postedMutex_);
    posted_.clear();
}

void EventLoop::handlerFailed(const std::string& why) {
    if (onHandlerFailure) {
        onHandlerFailure(why);
    } else {
        std::fprintf(stderr, "Fruvana: %s\n", why.c_str());
    }
}

void EventLoop::pumpPending() {
    // Deliberate: once the way out has begun no input is handed on, so a key or a click still
    // queued cannot take a stake or start a deal that is never saved.
    while (!quitRequested_) {
        const std::optional<InputEvent> event = platform_.pollInput();
        if (!event) break;
        if (onInput) runHandler("a key or click was lost", [&] { onInput(*event); });
    }
    runPosted();
    runDueTimers();
    if (onPaint) runHandler("a frame was not painted", onPaint);
}

void EventLoop::runPosted() {
    // Only what was queued when we started: a task that posts again waits for the next pump.
    std::size_t count;
    {
        std::lock_guard lock(postedMutex_);
        count = posted_.size();
    }
    for (; count > 0; --count) {
        std::function<void()> task;
        {
            std::lock_guard lock(postedMutex_);
            if (posted_.empty()) return;  // a nested pump took it
            task = std::move(posted_.front());
            posted_.pop_front();
        }
        runHandler("a hand-over was lost", task);
    }
}

void EventLoop::runDueTimers() {
    // A handler may create or destroy timers, or pump again; walk a snapshot of ids and look
    // each one up afresh.
    std::vector<std::uint64_t> ids;
    ids.reserve(timers_.size());
    for (const LoopTimer* timer : timers_) ids.push_back(timer->id_);
    for (std::uint64_t id : ids) {
        auto found = std::find_if(timers_.begin(), timers_.end(),
                                  [id](const LoopTimer* t) { return t->id_ == id; });
        if (found == timers_.end()) continue;
        LoopTimer* timer = *found;
        if (timer->due_ && *timer->due_ <= nowMs()) timer->fire();
    }
}

std::uint32_t EventLoop::sleepBudget(std::uint32_t limitMs) const {
    const std::uint64_t now = nowMs();
    std::uint64_t budget = limitMs;
    for (const LoopTimer* timer : timers_) {
        if (!timer->due_) continue;
        budget = std::min(budget, *timer->due_ > now ? *timer->due_ - now : 0);
    }
    return static_cast<std::uint32_t>(budget);
}

void EventLoop::delay(std::uint32_t ms) {
    const std::uint64_t deadline = nowMs() + ms;
    for (;;) {
        pumpPending();
        const std::uint64_t now = nowMs();
        if (now >= deadline) return;
        platform_.waitForInput(sleepBudget(static_cast<std::uint32_t>(deadline - now)));
    }
}

void EventLoop::run() {
    while (!quitRequested_) {
        pumpPending();
        if (quitRequested_) break;
        platform_.waitForInput(sleepBudget(kIdleSleepMs));
    }
}

LoopTimer::LoopTimer(EventLoop& loop) : loop_(loop), id_(loop.nextTimerId_++) {
    loop_.timers_.push_back(this);
}

LoopTimer::~LoopTimer() {
    std::erase(loop_.timers_, this);
}

UiTimer::UiTimer(EventLoop& loop, std::uint32_t intervalMs)
    : LoopTimer(loop), interval_(intervalMs) {}

void UiTimer::arm() {
    if (enabled_ && interval_ != 0) {
        due_ = loop().nowMs() + interval_;
    } else {
        due_.reset();
    }
}

void UiTimer::setEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    arm();
}

void UiTimer::setInterval(std::uint32_t ms) {
    if (ms == interval_) return;
    interval_ = ms;
    arm();
}

void UiTimer::fire() {
    arm();
    // The handler may destroy this timer: call a copy and touch nothing afterwards.
    auto handler = onTimer;
    if (!handler) return;
    // A failing tick is reported; the timer keeps running.
    loop().runHandler("a timer tick was lost", [&] { handler(*this); });
}

LoopFrameTimer::LoopFrameTimer(EventLoop& loop) : LoopTimer(loop) {}

LoopFrameTimer::~LoopFrameTimer() {
    *alive_ = false;
}

void LoopFrameTimer::setEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    due_.reset();
    // Enabled from inside its own handler, the wait starts when the handler returns.
    if (enabled_ && mayRun() && !inHandler_) due_ = loop().nowMs() + interval_;
}

void LoopFrameTimer::setInterval(std::uint32_t ms) {
    if (ms == interval_) return;
    const bool wasEnabled = enabled_;
    setEnabled(false);
    interval_ = ms;
    setEnabled(wasEnabled);
}

void LoopFrameTimer::fire() {
    due_.reset();
    auto handler = onTimer;
    if (!enabled_ || !handler) return;
    const std::shared_ptr<bool> alive = alive_;
    inHandler_ = true;
    // A failing tick is reported; the timer keeps running.
    loop().runHandler("a frame timer tick was lost", [&] { handler(*this); });
    if (!*alive) return;
    inHandler_ = false;
    if (enabled_ && mayRun()) due_ = loop().nowMs() + interval_;
}

}  // namespace fruvana
