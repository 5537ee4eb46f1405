#include "platform/sdl_platform.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdio>
#include <ctime>
#include <deque>
#include <map>
#include <vector>

#include "platform/placement.h"
#include "platform/sdl_audio.h"
#include "platform/sdl_handles.h"
#include "platform/sdl_input.h"
#include "platform/speechd_output.h"

namespace fruvana {

namespace {

bool isInvisibleDriver(const std::string& name) {
    return name == "dummy" || name == "offscreen";
}

// SDL has four levels; the seven of the game fold onto them.
SDL_ThreadPriority sdlPriority(PriorityLevel level) {
    switch (level) {
        case PriorityLevel::Idle:
        case PriorityLevel::Lowest:
        case PriorityLevel::Lower:
            return SDL_THREAD_PRIORITY_LOW;
        case PriorityLevel::Normal:
            return SDL_THREAD_PRIORITY_NORMAL;
        case PriorityLevel::Higher:
        case PriorityLevel::Highest:
            return SDL_THREAD_PRIORITY_HIGH;
        case PriorityLevel::TimeCritical:
            return SDL_THREAD_PRIORITY_TIME_CRITICAL;
    }
    return SDL_THREAD_PRIORITY_NORMAL;
}

}  // namespace

struct SdlPlatform::Impl {
    // Members are destroyed bottom-up: the window and the audio device go before SDL itself.
    sdl::Subsystem video;
    // Game controllers: optional; without the subsystem or a controller nothing changes.
    sdl::Subsystem pads;
    std::map<SDL_JoystickID, sdl::GameControllerPtr> controllers;
    Uint32 wakeEvent = 0;
    std::atomic<bool> wakePending = false;
    std::unique_ptr<SdlAudio> audio;
    SpeechdOutput speech;
    sdl::WindowPtr window;
    // The game's frame, in its own pixels; the part of it the window shows (all of it in full
    // screen, the cabinet in a window) and how that part is scaled into the window.
    Picture backBuffer;
    Rect shown;
    Placement placement;
    int fullScreenScale = 1;
    bool windowed = false;
    // How the window shows when it is first shown.
    bool startWindowed = false;
    std::optional<std::pair<int, int>> windowPlace;
    std::string programFolder;
    // The last key-down was a held key's repeat, so the character it typed is one too.
    bool repeating = false;
    std::deque<InputEvent> pending;
    std::string windowProblem;
    // The last failure the game went on without, said once: one that repeats every frame or
    // every key must not flood the terminal.
    std::string passedOver;
    sdl::SurfacePtr icon;
    std::vector<InputEvent> scratch;
    // The window parts of one present, kept so that no frame allocates them anew.
    std::vector<SDL_Rect> updated;

    ~Impl() {
        controllers.clear();
        pads = sdl::Subsystem();
        window.reset();
        audio.reset();
        video = sdl::Subsystem();
        SDL_Quit();
    }

    // The game goes on without what failed; the player's terminal still learns why.
    void passOver(std::string problem) {
        if (problem.empty() || problem == passedOver) return;
        std::fprintf(stderr, "Fruvana: %s\n", problem.c_str());
        passedOver = std::move(problem);
    }

    void take(const SDL_Event& event) {
        if (event.type == wakeEvent) {
            wakePending = false;
            return;
        }
        if (event.type == SDL_CONTROLLERDEVICEADDED) return openController(event.cdevice.which);
        if (event.type == SDL_CONTROLLERDEVICEREMOVED) {
            controllers.erase(event.cdevice.which);
            return;
        }
        if (event.type == SDL_KEYDOWN && isWindowModeKey(event.key)) {
            // The game's input table decides what the key does.
            if (event.key.repeat == 0)
                pending.push_back(InputEvent::windowModeKey(event.key.keysym.sym == SDLK_F11
                                                                ? WindowModeKey::F11
                                                                : WindowModeKey::AltEnter));
            return;
        }
        // Deliberate: a held key's repeats (the key-down and the character it types) are
        // dropped. Every key waits 200 ms before it acts and the next key is handled inside that
        // wait, so repeats faster than that would nest without end and nothing would act.
        if (event.type == SDL_KEYDOWN) {
            repeating = event.key.repeat != 0;
            if (repeating) return;
        }
        if (event.type == SDL_TEXTINPUT && repeating) return;
        if (event.type == SDL_WINDOWEVENT && (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                                              event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
                                              event.window.event == SDL_WINDOWEVENT_RESTORED)) {
            // The window lost what it showed: the back buffer still holds the whole picture. A
            // switch of mode has presented it already.
            if (!followWindowManager()) presentAll();
            return;
        }
        scratch.clear();
        std::string problem;
        translateSdlEvent(event, scratch, &problem);
        passOver(std::move(problem));
        for (const InputEvent& e : scratch) {
            if (std::optional<InputEvent> inGame = toGame(e, placement, shown))
                pending.push_back(*inGame);
        }
    }

    void openController(int deviceIndex) {
        if (!SDL_IsGameController(deviceIndex)) return;
        std::string problem;
        sdl::GameControllerPtr controller(sdl::require(
            SDL_GameControllerOpen(deviceIndex), "a game controller cannot be opened", problem));
        if (!controller) return passOver(std::move(problem));
        const SDL_JoystickID id =
            SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller.get()));
        controllers[id] = std::move(controller);
    }

    // Full screen with the whole frame, or a framed window with just the cabinet; the game
    // itself does not notice. True when the mode was switched and the window presented.
    bool setWindowed(bool on) {
        if (!window) return false;
        std::string problem;
        if (on) {
            SDL_DisplayMode desktop{};
            if (!sdl::require(SDL_GetDesktopDisplayMode(0, &desktop),
                              "the screen's size is unknown, so the game stays in full screen",
                              problem)) {
                passOver(std::move(problem));
                return false;
            }
            const int s = windowScale(desktop.w, desktop.h);
            sdl::require(SDL_SetWindowFullscreen(window.get(), 0), "full screen cannot be left",
                         problem);
            SDL_SetWindowBordered(window.get(), SDL_TRUE);
            SDL_SetWindowSize(window.get(), kGameWidth * s, kGameHeight * s);
            SDL_SetWindowPosition(window.get(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
            placement = {0, 0, s};
            shown = cabinetRect(backBuffer.bounds());
        } else {
            SDL_SetWindowBordered(window.get(), SDL_FALSE);
            sdl::require(SDL_SetWindowFullscreen(window.get(), SDL_WINDOW_FULLSCREEN_DESKTOP),
                         "full screen cannot be entered", problem);
            placement = {0, 0, fullScreenScale};
            shown = backBuffer.bounds();
        }
        passOver(std::move(problem));
        windowed = on;
        presentAll();
        return true;
    }

    // A window manager that takes the game out of full screen by its own key or menu (or puts
    // it back) is followed as if the player had pressed F11. True when it was.
    bool followWindowManager() {
        if (!window) return false;
        const bool fullScreen = (SDL_GetWindowFlags(window.get()) & SDL_WINDOW_FULLSCREEN) != 0;
        return fullScreen == windowed && setWindowed(!fullScreen);
    }

    // Where the shown part's pixels land in the window.
    Rect onWindow(const Rect& r) const {
        const int s = placement.scale;
        return {placement.left + (r.x - shown.x) * s, placement.top + (r.y - shown.y) * s, r.w * s,
                r.h * s};
    }

    void present(std::span<const Rect> dirty) {
        if (!window || backBuffer.empty()) return;
        std::string problem;
        SDL_Surface* target = sdl::require(SDL_GetWindowSurface(window.get()),
                                           "the window has no surface to draw on", problem);
        if (target == nullptr) return passOver(std::move(problem));
        if (target->format->BytesPerPixel == 4 && target->format->Rmask == 0x00FF0000 &&
            target->format->Gmask == 0x0000FF00 && target->format->Bmask == 0x000000FF) {
            presentScaled(dirty, *target);
            return;
        }
        sdl::SurfacePtr source(sdl::require(
            SDL_CreateRGBSurfaceWithFormatFrom(backBuffer.data(), backBuffer.width(),
                                               backBuffer.height(), 24, backBuffer.pitch(),
                                               SDL_PIXELFORMAT_BGR24),
            "the frame cannot be handed to the window", problem));
        if (!source) return passOver(std::move(problem));
        updated.clear();
        for (const Rect& part : dirty) {
            const Rect r = intersect(intersect(part, backBuffer.bounds()), shown);
            if (r.empty()) continue;
            SDL_Rect from{r.x, r.y, r.w, r.h};
            const Rect w = onWindow(r);
            SDL_Rect to{w.x, w.y, w.w, w.h};
            updated.push_back(to);
            const int blitted = placement.scale == 1
                                    ? SDL_BlitSurface(source.get(), &from, target, &to)
                                    : SDL_BlitScaled(source.get(), &from, target, &to);
            // A part that cannot be drawn waits for its next present; passOver says so once
            // while it repeats, where a line at every frame would fill the terminal.
            if (!sdl::require(blitted, "a part of the frame cannot be drawn", problem))
                passOver(std::move(problem));
        }
        update(updated, *target);
    }

    // The common case: the window's pixels are 0x00RRGGBB, scaled by the game's own code.
    void presentScaled(std::span<const Rect> dirty, SDL_Surface& target) {
        std::string problem;
        if (SDL_MUSTLOCK(&target) &&
            !sdl::require(SDL_LockSurface(&target), "the window's surface cannot be locked",
                          problem)) {
            return passOver(std::move(problem));
        }
        updated.clear();
        for (const Rect& part : dirty) {
            const Rect r = intersect(intersect(part, backBuffer.bounds()), shown);
            if (r.empty()) continue;
            scaleInto(backBuffer, r, placement, shown, static_cast<std::uint8_t*>(target.pixels),
                      target.pitch, target.w, target.h);
            const Rect w = onWindow(r);
            updated.push_back({w.x, w.y, w.w, w.h});
        }
        if (SDL_MUSTLOCK(&target)) SDL_UnlockSurface(&target);
        update(updated, target);
    }

    void update(std::vector<SDL_Rect>& parts, const SDL_Surface& target) {
        // Only what lies on the window is reported to it.
        std::erase_if(parts, [&](SDL_Rect& r) {
            const Rect on = intersect({r.x, r.y, r.w, r.h}, {0, 0, target.w, target.h});
            r = {on.x, on.y, on.w, on.h};
            return on.empty();
        });
        std::string problem;
        if (!parts.empty() &&
            !sdl::require(SDL_UpdateWindowSurfaceRects(window.get(), parts.data(),
                                                       static_cast<int>(parts.size())),
                          "the window cannot show the frame", problem)) {
            passOver(std::move(problem));
        }
    }

    void presentAll() {
        const Rect all = backBuffer.bounds();
        present(std::span<const Rect>(&all, 1));
    }
};

std::unique_ptr<SdlPlatform> SdlPlatform::create(const SdlOptions& options, std::string& error) {
    // Hints first: they shape how SDL starts.
    // The window's identity for docks and task bars, whatever the program file is called. SDL
    // reads the class from the environment.
    SDL_setenv("SDL_VIDEO_X11_WMCLASS", "fruvana", 1);
    SDL_setenv("SDL_VIDEO_WAYLAND_WMCLASS", "fruvana", 1);
    SDL_SetHint(SDL_HINT_APP_NAME, "Fruvana");
    // Closing the window is a request the game may refuse, not an order to quit.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // The help page opens in a browser; the game must not vanish from the screen meanwhile.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    // A click that brings the window to the front still presses what it lands on.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (options.videoDriver.empty()) {
        SDL_ResetHint(SDL_HINT_VIDEODRIVER);
        // Without a runtime directory no Wayland compositor can be reached, and probing for one
        // makes the Wayland library print its own complaint; leave the choice to X11 then, so
        // that a machine without a display gets our one line and nothing else.
        if (SDL_getenv("SDL_VIDEODRIVER") == nullptr && SDL_getenv("XDG_RUNTIME_DIR") == nullptr) {
            SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
        }
    } else {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, options.videoDriver.c_str());
    }

    auto impl = std::make_unique<Impl>();
    impl->video = sdl::Subsystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    if (!impl->video) {
        error = std::string("no display could be opened (") + SDL_GetError() + ")";
        return nullptr;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    const std::string driverName = driver != nullptr ? driver : "";
    if (isInvisibleDriver(driverName) && driverName != options.videoDriver) {
        error = "no display was found, and SDL offers only its \"" + driverName +
                "\" video driver, which shows nothing";
        return nullptr;
    }
    // On X11 the window's own surface is drawn directly, which is what the game wants; other
    // drivers (Wayland) only have a surface through their accelerated path, so keep theirs.
    if (driverName == "x11") SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    impl->wakeEvent = SDL_RegisterEvents(1);
    if (impl->wakeEvent == static_cast<Uint32>(-1)) {
        error = std::string("SDL cannot start: ") + SDL_GetError();
        return nullptr;
    }
    impl->audio = std::make_unique<SdlAudio>(options.audioDriver);
    impl->startWindowed = options.startWindowed;
    impl->windowPlace = options.windowPlace;
    impl->programFolder = options.programFolder;
    // A controller plugged in now or later announces itself with an event.
    impl->pads = sdl::Subsystem(SDL_INIT_GAMECONTROLLER);
    SDL_StartTextInput();
    return std::unique_ptr<SdlPlatform>(new SdlPlatform(std::move(impl)));
}

SdlPlatform::SdlPlatform(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

SdlPlatform::~SdlPlatform() = default;

std::string SdlPlatform::videoDriver() const {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr ? driver : "";
}

ScreenInfo SdlPlatform::screen() const {
    SDL_DisplayMode mode{};
    std::string problem;
    if (!sdl::require(SDL_GetDesktopDisplayMode(0, &mode), "the screen's mode is unknown",
                      problem)) {
        // Before the window opens, openWindow says this failure itself as its one line.
        if (impl_->window) impl_->passOver(std::move(problem));
        return {};
    }
    // On a large screen the game works in its own pixels, a whole fraction of the screen's.
    const int s = wholeScale(mode.w, mode.h);
    return {mode.w / s, mode.h / s, static_cast<int>(SDL_BITSPERPIXEL(mode.format))};
}

bool SdlPlatform::openWindow(const std::string& title) {
    if (impl_->window) return true;
    impl_->windowProblem.clear();
    // The window covers the whole screen; the game's frame is scaled into it.
    SDL_DisplayMode info{};
    if (SDL_GetDesktopDisplayMode(0, &info) != 0 || info.w <= 0 || info.h <= 0) {
        impl_->windowProblem = sdl::failure("the screen's size is unknown");
        return false;
    }
    sdl::WindowPtr window(sdl::require(
        SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, info.w,
                         info.h,
                         SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN),
        "SDL cannot create it", impl_->windowProblem));
    if (!window) return false;
    // Deliberate: a window without a surface would show nothing at all (SDL's Wayland driver
    // has none when asked for an unaccelerated one); that is a failure, not an invisible game.
    if (SDL_GetWindowSurface(window.get()) == nullptr) {
        impl_->windowProblem = sdl::failure("the window has no surface to draw on");
        return false;
    }
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window.get(), &width, &height);
    const int s = wholeScale(width, height);
    Picture backBuffer(width / s, height / s);
    if (backBuffer.empty()) {
        impl_->windowProblem = "no frame can be made for a window of " + std::to_string(width) +
                               "x" + std::to_string(height) + " pixels";
        return false;
    }
    impl_->placement = {0, 0, s};
    impl_->fullScreenScale = s;
    impl_->shown = backBuffer.bounds();
    impl_->window = std::move(window);
    impl_->backBuffer = std::move(backBuffer);
    if (impl_->icon) SDL_SetWindowIcon(impl_->window.get(), impl_->icon.get());
    return true;
}

bool SdlPlatform::windowed() const {
    return impl_->windowed;
}

std::optional<std::pair<int, int>> SdlPlatform::windowPlace() const {
    if (!impl_->window || !impl_->windowed) return std::nullopt;
    int x = 0;
    int y = 0;
    SDL_GetWindowPosition(impl_->window.get(), &x, &y);
    return std::pair{x, y};
}

std::string SdlPlatform::windowProblem() const {
    return impl_->windowProblem;
}

void SdlPlatform::setWindowIcon(const Picture& icon) {
    if (icon.empty()) return;
    // The icon outlives the picture, so the window gets a copy of its pixels.
    std::string problem;
    const sdl::SurfacePtr view(sdl::require(
        SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint8_t*>(icon.data()), icon.width(),
                                           icon.height(), 24, icon.pitch(), SDL_PIXELFORMAT_BGR24),
        "the window icon cannot be made", problem));
    if (!view) return impl_->passOver(std::move(problem));
    sdl::SurfacePtr copy(
        sdl::require(SDL_DuplicateSurface(view.get()), "the window icon cannot be made", problem));
    if (!copy) return impl_->passOver(std::move(problem));
    // The icon's surroundings, in its bottom-left pixel's colour, are see-through.
    const std::optional<Rgb> key = bottomLeftColour(icon);
    if (key && !sdl::require(SDL_SetColorKey(copy.get(), SDL_TRUE,
                                             SDL_MapRGB(copy->format, key->r, key->g, key->b)),
                             "the window icon's surroundings stay opaque", problem)) {
        impl_->passOver(std::move(problem));
    }
    impl_->icon = std::move(copy);
    if (impl_->window) SDL_SetWindowIcon(impl_->window.get(), impl_->icon.get());
}

void SdlPlatform::switchWindowMode() {
    impl_->setWindowed(!impl_->windowed);
}

void SdlPlatform::showWindow() {
    if (!impl_->window) return;
    // The mode the player left the game in last time, or asked for on the command line.
    if (impl_->startWindowed && impl_->setWindowed(true) && impl_->windowPlace) {
        SDL_SetWindowPosition(impl_->window.get(), impl_->windowPlace->first,
                              impl_->windowPlace->second);
    }
    impl_->startWindowed = false;
    SDL_ShowWindow(impl_->window.get());
    SDL_RaiseWindow(impl_->window.get());
    impl_->presentAll();
}

Picture& SdlPlatform::backBuffer() {
    return impl_->backBuffer;
}

void SdlPlatform::present(std::span<const Rect> dirty) {
    impl_->present(dirty);
}

std::optional<InputEvent> SdlPlatform::pollInput() {
    SDL_Event event;
    while (impl_->pending.empty() && SDL_PollEvent(&event) == 1) impl_->take(event);
    if (impl_->pending.empty()) return std::nullopt;
    InputEvent next = impl_->pending.front();
    impl_->pending.pop_front();
    return next;
}

void SdlPlatform::waitForInput(std::uint32_t timeoutMs) {
    if (!impl_->pending.empty()) return;
    SDL_Event event;
    const int timeout = static_cast<int>(std::min<std::uint32_t>(timeoutMs, INT_MAX));
    if (SDL_WaitEventTimeout(&event, timeout) == 1) impl_->take(event);
}

void SdlPlatform::wake() {
    // One wake-up in the queue is enough, however many hand-overs are waiting behind it.
    if (impl_->wakePending.exchange(true)) return;
    SDL_Event event{};
    event.type = impl_->wakeEvent;
    if (SDL_PushEvent(&event) != 1) impl_->wakePending = false;
}

std::uint64_t SdlPlatform::ticksMs() const {
    return SDL_GetTicks64();
}

std::int64_t SdlPlatform::wallClock() const {
    return static_cast<std::int64_t>(std::time(nullptr));
}

std::uint64_t SdlPlatform::performanceCounter() const {
    return SDL_GetPerformanceCounter();
}

std::string SdlPlatform::basePath() const {
    if (!impl_->programFolder.empty()) return impl_->programFolder;
    std::string problem;
    const sdl::CharPtr path(sdl::require(
        SDL_GetBasePath(), "the program's folder is unknown, the current one stands in", problem));
    if (!path) impl_->passOver(std::move(problem));
    return path ? std::string(path.get()) : std::string("./");
}

bool SdlPlatform::openUrl(const std::string& url) {
    // The game goes on without the page; the terminal learns why it did not open.
    std::string problem;
    if (sdl::require(SDL_OpenURL(url.c_str()), "the page " + url + " cannot be opened", problem))
        return true;
    impl_->passOver(std::move(problem));
    return false;
}

bool SdlPlatform::setCurrentThreadPriority(PriorityLevel priority) {
    return SDL_SetThreadPriority(sdlPriority(priority)) == 0;
}

AudioOutput& SdlPlatform::audio() {
    return *impl_->audio;
}

SpeechOutput& SdlPlatform::speech() {
    return impl_->speech;
}

}  // namespace fruvana
