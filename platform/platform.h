#pragma once
// Everything the game needs from the machine, behind one interface with two back ends:
// SdlPlatform (the real program) and HeadlessPlatform (tests, on a virtual clock).

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/audio.h"
#include "platform/input_event.h"
#include "platform/picture.h"
#include "platform/speech.h"

namespace fruvana {

struct ScreenInfo {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
};

// Seven scheduling levels; the SDL back end maps them onto the four it has.
enum class PriorityLevel : std::uint8_t {
    Idle,
    Lowest,
    Lower,
    Normal,
    Higher,
    Highest,
    TimeCritical,
};

class Platform {
  public:
    virtual ~Platform() = default;

    // The screen the game fills.
    virtual ScreenInfo screen() const = 0;

    // Creates the one game window, borderless and covering the screen, still hidden, with a
    // black back buffer of its size. False (and nothing created) when that fails.
    virtual bool openWindow(const std::string& title) = 0;
    // Why the last openWindow failed, when the platform knows; empty otherwise.
    virtual std::string windowProblem() const { return {}; }
    // The picture docks and task bars show for the window; its bottom-left pixel's colour is
    // see-through. May be given before or after the window opens.
    virtual void setWindowIcon(const Picture& icon) = 0;
    virtual void showWindow() = 0;
    // Switches between full screen and a window that shows just the cabinet, where the
    // platform has both; elsewhere nothing happens.
    virtual void switchWindowMode() {}
    // The picture the presentation composes into; the window's size once it is open.
    virtual Picture& backBuffer() = 0;
    // Shows these parts of the back buffer on the screen. Parts outside it are clipped.
    virtual void present(std::span<const Rect> dirty) = 0;

    // The next input that is waiting, if any. Never blocks.
    virtual std::optional<InputEvent> pollInput() = 0;
    // Blocks until input is waiting, wake() was called, or timeoutMs have passed.
    virtual void waitForInput(std::uint32_t timeoutMs) = 0;
    // Cuts a waitForInput short. Any thread may call it.
    virtual void wake() = 0;

    // Monotonic milliseconds since an arbitrary start.
    virtual std::uint64_t ticksMs() const = 0;
    // A fast-moving counter for seeding random sources.
    virtual std::uint64_t performanceCounter() const = 0;
    // The wall clock: seconds since 1970 (UTC).
    virtual std::int64_t wallClock() const = 0;

    // The directory of the program file, ending in a slash.
    virtual std::string basePath() const = 0;
    // Hands a URL (or file:// path) to the desktop's handler; never through a shell.
    virtual bool openUrl(const std::string& url) = 0;
    // Sets the priority of the calling thread, whichever it is. Failing (e.g. without
    // privileges) is normal.
    virtual bool setCurrentThreadPriority(PriorityLevel priority) = 0;

    // The program's one sound channel.
    virtual AudioOutput& audio() = 0;
    // The spoken messages, when the player wants them.
    virtual SpeechOutput& speech() = 0;
};

// 24-bit bitmap images held in memory, read and written by SDL. Any bitmap SDL can read is
// converted to the game's 24-bit picture; a damaged image gives nothing, and why (when given)
// is set to one line naming the fault: not a bitmap, a cut header, a bit depth SDL cannot
// read, damaged pixels. Writing gives the image, or nothing with why (when given) set to one
// line saying what stopped it.
std::optional<Picture> loadBmp(std::span<const std::uint8_t> image, std::string* why = nullptr);
std::vector<std::uint8_t> saveBmp(const Picture& picture, std::string* why = nullptr);

}  // namespace fruvana
