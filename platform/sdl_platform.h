#pragma once
// The real machine, through SDL. This header stays free of SDL so that the program's start-up
// code can create the platform without seeing SDL's types.

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "platform/platform.h"

namespace fruvana {

struct SdlOptions {
    // Empty: SDL's own choice. Naming "dummy" or "offscreen" here is the only way to run
    // without a display; SDL picking one of them by itself is refused.
    std::string videoDriver;
    // Empty: SDL's own choice ("disk" and "dummy" serve tests).
    std::string audioDriver;
    // Show the window framed, at this place when one is given, rather than full screen.
    bool startWindowed = false;
    std::optional<std::pair<int, int>> windowPlace{};
    // The folder that stands for the program's own, ending in '/'; empty: the one SDL finds the
    // program in. Tests give a scratch folder, so the player's files go there.
    std::string programFolder{};
};

class SdlPlatform : public Platform {
  public:
    // Null when SDL cannot give us a display, with error set to the reason: one line, without
    // the program's name or a full stop, for the caller to print and exit non-zero.
    static std::unique_ptr<SdlPlatform> create(const SdlOptions& options, std::string& error);
    ~SdlPlatform() override;
    SdlPlatform(const SdlPlatform&) = delete;
    SdlPlatform& operator=(const SdlPlatform&) = delete;

    ScreenInfo screen() const override;
    bool openWindow(const std::string& title) override;
    std::string windowProblem() const override;
    void setWindowIcon(const Picture& icon) override;
    void showWindow() override;
    void switchWindowMode() override;
    Picture& backBuffer() override;
    void present(std::span<const Rect> dirty) override;

    std::optional<InputEvent> pollInput() override;
    void waitForInput(std::uint32_t timeoutMs) override;
    void wake() override;

    std::uint64_t ticksMs() const override;
    std::uint64_t performanceCounter() const override;
    std::int64_t wallClock() const override;
    std::string basePath() const override;
    bool openUrl(const std::string& url) override;
    bool setCurrentThreadPriority(PriorityLevel priority) override;
    AudioOutput& audio() override;
    SpeechOutput& speech() override;

    // Whether the game shows in a framed window rather than full screen (F11, Alt+Enter).
    bool windowed() const;
    // Where the framed window stands on the screen; nothing in full screen.
    std::optional<std::pair<int, int>> windowPlace() const;
    // The video driver SDL is using, e.g. "x11".
    std::string videoDriver() const;

  private:
    struct Impl;
    explicit SdlPlatform(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace fruvana
