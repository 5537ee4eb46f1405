#include "platform/sdl_platform.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <deque>
#include <vector>

#include "platform/sdl_audio.h"
#include "platform/sdl_handles.h"
#include "platform/sdl_input.h"

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
    Uint32 wakeEvent = 0;
    std::atomic<bool> wakePending = false;
    std::unique_ptr<SdlAudio> audio;
    sdl::WindowPtr window;
    Picture backBuffer;
    std::deque<InputEvent> pending;
    std::vector<InputEvent> scratch;

    ~Impl() {
        window.reset();
        audio.reset();
        video = sdl::Subsystem();
        SDL_Quit();
    }

    void take(const SDL_Event& event) {
        if (event.type == wakeEvent) {
            wakePending = false;
            return;
        }
        if (event.type == SDL_WINDOWEVENT && (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                                              event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)) {
            // The window lost what it showed: the back buffer still holds the whole picture.
            presentAll();
            return;
        }
        scratch.clear();
        translateSdlEvent(event, scratch);
        pending.insert(pending.end(), scratch.begin(), scratch.end());
    }

    void present(std::span<const Rect> dirty) {
        if (!window || backBuffer.empty()) return;
        SDL_Surface* target = SDL_GetWindowSurface(window.get());
        if (target == nullptr) return;
        sdl::SurfacePtr source(SDL_CreateRGBSurfaceWithFormatFrom(
            backBuffer.data(), backBuffer.width(), backBuffer.height(), 24, backBuffer.pitch(),
            SDL_PIXELFORMAT_BGR24));
        if (!source) return;
        const Rect visible = intersect(backBuffer.bounds(), {0, 0, target->w, target->h});
        std::vector<SDL_Rect> shown;
        shown.reserve(dirty.size());
        for (const Rect& part : dirty) {
            const Rect r = intersect(part, visible);
            if (r.empty()) continue;
            SDL_Rect from{r.x, r.y, r.w, r.h};
            SDL_Rect to = from;
            SDL_BlitSurface(source.get(), &from, target, &to);
            shown.push_back(from);
        }
        if (!shown.empty()) {
            SDL_UpdateWindowSurfaceRects(window.get(), shown.data(),
                                         static_cast<int>(shown.size()));
        }
    }

    void presentAll() {
        const Rect all = backBuffer.bounds();
        present(std::span<const Rect>(&all, 1));
    }
};

std::unique_ptr<SdlPlatform> SdlPlatform::create(const SdlOptions& options, std::string& error) {
    // Hints first: they shape how SDL starts.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
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
    impl->wakeEvent = SDL_RegisterEvents(1);
    if (impl->wakeEvent == static_cast<Uint32>(-1)) {
        error = std::string("SDL cannot start: ") + SDL_GetError();
        return nullptr;
    }
    impl->audio = std::make_unique<SdlAudio>(options.audioDriver);
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
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return {};
    return {mode.w, mode.h, static_cast<int>(SDL_BITSPERPIXEL(mode.format))};
}

bool SdlPlatform::openWindow(const std::string& title) {
    if (impl_->window) return true;
    const ScreenInfo info = screen();
    if (info.width <= 0 || info.height <= 0) return false;
    sdl::WindowPtr window(SDL_CreateWindow(
        title.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, info.width, info.height,
        SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN));
    if (!window) return false;
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window.get(), &width, &height);
    Picture backBuffer(width, height);
    if (backBuffer.empty()) return false;
    impl_->window = std::move(window);
    impl_->backBuffer = std::move(backBuffer);
    return true;
}

void SdlPlatform::showWindow() {
    if (!impl_->window) return;
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

std::uint64_t SdlPlatform::performanceCounter() const {
    return SDL_GetPerformanceCounter();
}

std::string SdlPlatform::basePath() const {
    const sdl::CharPtr path(SDL_GetBasePath());
    return path ? std::string(path.get()) : std::string("./");
}

bool SdlPlatform::openUrl(const std::string& url) {
    return SDL_OpenURL(url.c_str()) == 0;
}

bool SdlPlatform::setCurrentThreadPriority(PriorityLevel priority) {
    return SDL_SetThreadPriority(sdlPriority(priority)) == 0;
}

AudioOutput& SdlPlatform::audio() {
    return *impl_->audio;
}

}  // namespace fruvana
