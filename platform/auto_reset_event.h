#pragma once
// An event that lets exactly one wait through per signal and then closes again by itself.
// A semaphore would count signals; this one does not: two signals before a wait let one
// wait through, not two.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace fruvana {

class AutoResetEvent {
  public:
    void set() {
        {
            std::lock_guard lock(mutex_);
            signalled_ = true;
        }
        cv_.notify_one();
    }

    // True when the wait ended because the event was signalled (which resets it), false when
    // timeoutMs passed first.
    bool waitFor(std::uint32_t timeoutMs) {
        std::unique_lock lock(mutex_);
        const bool signalled =
            cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return signalled_; });
        signalled_ = false;
        return signalled;
    }

  private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool signalled_ = false;
};

}  // namespace fruvana
