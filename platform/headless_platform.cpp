#include "platform/headless_platform.h"

#include <algorithm>

namespace fruvana {

bool HeadlessAudio::play(std::shared_ptr<const PcmSound> sound, bool loop, bool interrupt,
                         int volume) {
    const std::string name = sound ? sound->name : std::string();
    if (!available_ || !sound || (!interrupt && busy())) {
        log_.push_back({clock_, SoundLogEntry::Action::Refused, name, loop});
        return false;
    }
    current_ = std::move(sound);
    loop_ = loop;
    startedAt_ = clock_;
    log_.push_back({clock_, SoundLogEntry::Action::Played, name, loop, volume});
    return true;
}

void HeadlessAudio::stop() {
    current_.reset();
    loop_ = false;
    log_.push_back({clock_, SoundLogEntry::Action::Stopped, {}, false});
}

bool HeadlessAudio::busy() const {
    if (!current_) return false;
    if (loop_) return current_->frames() != 0;
    return clock_ < startedAt_ + current_->durationMs();
}

void HeadlessAudio::waitUntilQuiet() {
    if (!current_ || loop_ || !busy()) return;
    clock_ = startedAt_ + current_->durationMs();
}

void HeadlessAudio::restart(bool available) {
    available_ = available;
    current_.reset();
    loop_ = false;
    startedAt_ = 0;
    log_.clear();
}

HeadlessPlatform::HeadlessPlatform(HeadlessOptions options)
    : options_(std::move(options)),
      clock_(options_.startMs),
      audio_(clock_, options_.audioAvailable),
      speech_(options_.speechAvailable) {}

void HeadlessPlatform::restart(HeadlessOptions options) {
    if (windowOpen_) options.screen = options_.screen;
    options_ = std::move(options);
    clock_ = options_.startMs;
    audio_.restart(options_.audioAvailable);
    speech_.restart(options_.speechAvailable);
    woken_ = false;
    script_.clear();
    shown_ = false;
    presents_.clear();
    urls_.clear();
    {
        std::lock_guard lock(prioritiesMutex_);
        priorities_.clear();
    }
    waited_ = 0;
}

bool HeadlessPlatform::openWindow(const std::string& title) {
    if (windowOpen_) return true;
    title_ = title;
    backBuffer_ = Picture(options_.screen.width, options_.screen.height);
    frame_ = backBuffer_;
    windowOpen_ = !backBuffer_.empty();
    return windowOpen_;
}

void HeadlessPlatform::present(std::span<const Rect> dirty) {
    std::vector<Rect> shown;
    for (const Rect& part : dirty) {
        const Rect r = intersect(part, backBuffer_.bounds());
        if (r.empty()) continue;
        blit(backBuffer_, r, frame_, r.x, r.y);
        shown.push_back(r);
    }
    presents_.push_back(std::move(shown));
}

void HeadlessPlatform::script(std::uint64_t atMs, InputEvent event) {
    // Keep the queue in time order; events for the same moment keep the order given.
    auto at = std::upper_bound(script_.begin(), script_.end(), atMs,
                               [](std::uint64_t t, const Scripted& s) { return t < s.atMs; });
    script_.insert(at, {atMs, event});
}

std::optional<InputEvent> HeadlessPlatform::pollInput() {
    if (script_.empty() || script_.front().atMs > ticksMs()) return std::nullopt;
    InputEvent event = script_.front().event;
    script_.pop_front();
    return event;
}

void HeadlessPlatform::waitForInput(std::uint32_t timeoutMs) {
    const std::uint64_t now = ticksMs();
    if (woken_.exchange(false)) return;
    if (!script_.empty() && script_.front().atMs <= now) return;
    // Time only moves while the program waits. Even a zero wait moves it one millisecond, so
    // a loop that keeps waiting for nothing still reaches its deadline.
    std::uint64_t until = now + std::max<std::uint32_t>(timeoutMs, 1);
    if (!script_.empty()) until = std::min(until, script_.front().atMs);
    waited_ += until - now;
    clock_ = until;
}

bool HeadlessPlatform::openUrl(const std::string& url) {
    urls_.push_back(url);
    return true;
}

bool HeadlessPlatform::setCurrentThreadPriority(PriorityLevel priority) {
    std::lock_guard lock(prioritiesMutex_);
    priorities_.push_back(priority);
    return true;
}

}  // namespace fruvana
