#pragma once
// The machine as tests see it: a virtual clock that moves only when the loop waits, scripted
// input delivered at given times, the composed frame kept in memory, and a log of every sound,
// URL and spoken message the program asked for. It does what it is asked and records it.

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace fruvana {

struct SoundLogEntry {
    enum class Action : std::uint8_t { Played, Stopped, Refused };
    std::uint64_t timeMs = 0;
    Action action = Action::Played;
    std::string name;  // empty for Stopped
    bool loop = false;
    int volume = kFullVolume;  // of a sound played
    friend bool operator==(const SoundLogEntry&, const SoundLogEntry&) = default;
};

// The headless sound channel: plays nothing audible, but keeps time on the virtual clock.
class HeadlessAudio : public AudioOutput {
  public:
    HeadlessAudio(std::uint64_t& clock, bool available) : clock_(clock), available_(available) {}

    bool available() const override { return available_; }
    bool play(std::shared_ptr<const PcmSound> sound, bool loop, bool interrupt,
              int volume) override;
    void stop() override;
    bool busy() const override;
    // Moves the virtual clock to the end of the sound, as a real wait would take that long.
    void waitUntilQuiet() override;

    const std::vector<SoundLogEntry>& log() const { return log_; }
    void clearLog() { log_.clear(); }
    // Silent, with an empty log, on a device there or not.
    void restart(bool available);
    // The sound audible now, if any.
    std::shared_ptr<const PcmSound> current() const { return busy() ? current_ : nullptr; }

  private:
    std::uint64_t& clock_;
    bool available_;
    std::shared_ptr<const PcmSound> current_;
    bool loop_ = false;
    std::uint64_t startedAt_ = 0;
    std::vector<SoundLogEntry> log_;
};

// The headless speech: says nothing aloud, but keeps every message it was given, in order.
class HeadlessSpeech : public SpeechOutput {
  public:
    explicit HeadlessSpeech(bool available) : available_(available) {}

    bool available() override { return available_; }
    std::string problem() const override {
        return available_ ? std::string() : std::string(kNoSpeechServer);
    }
    void say(std::string_view text) override {
        if (available_) said_.emplace_back(text);
    }
    void setLanguage(const std::string& language) override { language_ = language; }
    const std::string& language() const { return language_; }
    // Its speech never turns unavailable by itself; the handler is only kept.
    void onUnavailable(std::function<void()> handler) override {
        unavailable_ = std::move(handler);
    }

    const std::vector<std::string>& said() const { return said_; }
    // Nothing said, with speech there or not.
    void restart(bool available) {
        available_ = available;
        said_.clear();
    }

  private:
    bool available_;
    std::vector<std::string> said_;
    std::string language_;
    std::function<void()> unavailable_;
};

struct HeadlessOptions {
    ScreenInfo screen{1024, 768, 32};
    bool audioAvailable = true;
    bool speechAvailable = true;
    std::string basePath = "./";
    std::uint64_t startMs = 0;
    std::uint64_t performanceCounter = 0x5eed;
    // Seconds since 1970 when the virtual clock reads 0: 2026-12-07 12:00:00 UTC.
    std::int64_t wallClockAtStart = 1'796'644'800;
};

class HeadlessPlatform : public Platform {
  public:
    explicit HeadlessPlatform(HeadlessOptions options = {});

    ScreenInfo screen() const override { return options_.screen; }
    bool openWindow(const std::string& title) override;
    void showWindow() override { shown_ = true; }
    // Counts the switches asked for; the headless window has but one mode.
    void switchWindowMode() override { ++windowModeSwitches_; }
    int windowModeSwitches() const { return windowModeSwitches_; }
    void setWindowIcon(const Picture& icon) override { icon_ = icon; }
    Picture& backBuffer() override { return backBuffer_; }
    void present(std::span<const Rect> dirty) override;

    std::optional<InputEvent> pollInput() override;
    void waitForInput(std::uint32_t timeoutMs) override;
    void wake() override { woken_ = true; }

    std::uint64_t ticksMs() const override { return clock_; }
    std::uint64_t performanceCounter() const override { return options_.performanceCounter; }
    // A fixed start that moves with the virtual clock, so what a test stamps is repeatable.
    std::int64_t wallClock() const override {
        return options_.wallClockAtStart + static_cast<std::int64_t>(clock_ / 1000);
    }
    std::string basePath() const override { return options_.basePath; }
    bool openUrl(const std::string& url) override;
    bool setCurrentThreadPriority(PriorityLevel priority) override;
    AudioOutput& audio() override { return audio_; }
    SpeechOutput& speech() override { return speech_; }

    // --- for tests ---
    // The machine switched on again with these options: the clock back at their start, no
    // sound, no input waiting and nothing recorded. The window stays open on the screen it
    // was opened on, whatever screen they give.
    void restart(HeadlessOptions options);
    // Delivers event once the virtual clock reaches atMs (at once if it already has).
    void script(std::uint64_t atMs, InputEvent event);
    void scriptAfter(std::uint64_t afterMs, InputEvent event) {
        script(ticksMs() + afterMs, event);
    }
    std::size_t pendingScript() const { return script_.size(); }
    void advance(std::uint64_t ms) { clock_ += ms; }

    bool windowOpen() const { return windowOpen_; }
    bool windowShown() const { return shown_; }
    const std::string& windowTitle() const { return title_; }
    const Picture& windowIcon() const { return icon_; }
    // What the screen shows: the back buffer as of the last present of each part.
    const Picture& frame() const { return frame_; }
    const std::vector<std::vector<Rect>>& presents() const { return presents_; }
    // Forgets the presents recorded so far, so a long run keeps a flat memory.
    void clearPresents() { presents_.clear(); }
    HeadlessAudio& headlessAudio() { return audio_; }
    HeadlessSpeech& headlessSpeech() { return speech_; }
    const std::vector<std::string>& openedUrls() const { return urls_; }
    std::vector<PriorityLevel> priorityRequests() const {
        std::lock_guard lock(prioritiesMutex_);
        return priorities_;
    }
    // Sum of all waits, i.e. how long the program slept on the virtual clock.
    std::uint64_t totalWaitedMs() const { return waited_; }

  private:
    struct Scripted {
        std::uint64_t atMs;
        InputEvent event;
    };
    HeadlessOptions options_;
    std::uint64_t clock_;
    HeadlessAudio audio_;
    HeadlessSpeech speech_;
    std::atomic<bool> woken_ = false;
    std::deque<Scripted> script_;
    bool windowOpen_ = false;
    int windowModeSwitches_ = 0;
    bool shown_ = false;
    std::string title_;
    Picture icon_;
    Picture backBuffer_;
    Picture frame_;
    std::vector<std::vector<Rect>> presents_;
    std::vector<std::string> urls_;
    mutable std::mutex prioritiesMutex_;  // other threads set their own priorities
    std::vector<PriorityLevel> priorities_;
    std::uint64_t waited_ = 0;
};

}  // namespace fruvana
