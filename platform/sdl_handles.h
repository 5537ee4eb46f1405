#pragma once
// Owning handles for SDL resources: each is released exactly once, on every path.
// Internal to platform/.

#include <SDL.h>

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace fruvana::sdl {

struct WindowDeleter {
    void operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
};
struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
struct RwDeleter {
    void operator()(SDL_RWops* rw) const { SDL_RWclose(rw); }
};
struct FreeDeleter {
    void operator()(void* p) const { SDL_free(p); }
};
struct WavDeleter {
    void operator()(Uint8* p) const { SDL_FreeWAV(p); }
};

struct GameControllerDeleter {
    void operator()(SDL_GameController* c) const { SDL_GameControllerClose(c); }
};

using WindowPtr = std::unique_ptr<SDL_Window, WindowDeleter>;
using GameControllerPtr = std::unique_ptr<SDL_GameController, GameControllerDeleter>;
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;
using RwPtr = std::unique_ptr<SDL_RWops, RwDeleter>;
using CharPtr = std::unique_ptr<char, FreeDeleter>;
using WavPtr = std::unique_ptr<Uint8, WavDeleter>;

// One initialised SDL subsystem, shut down again with the handle.
class Subsystem {
  public:
    Subsystem() = default;
    explicit Subsystem(Uint32 flags) : flags_(SDL_InitSubSystem(flags) == 0 ? flags : 0) {}
    ~Subsystem() {
        if (flags_ != 0) SDL_QuitSubSystem(flags_);
    }
    Subsystem(Subsystem&& other) noexcept : flags_(other.flags_) { other.flags_ = 0; }
    Subsystem& operator=(Subsystem&& other) noexcept {
        if (this != &other) {
            if (flags_ != 0) SDL_QuitSubSystem(flags_);
            flags_ = other.flags_;
            other.flags_ = 0;
        }
        return *this;
    }
    explicit operator bool() const { return flags_ != 0; }

  private:
    Uint32 flags_ = 0;
};

// An open audio device, closed with the handle.
class AudioDevice {
  public:
    AudioDevice() = default;
    explicit AudioDevice(SDL_AudioDeviceID id) : id_(id) {}
    ~AudioDevice() {
        if (id_ != 0) SDL_CloseAudioDevice(id_);
    }
    AudioDevice(AudioDevice&& other) noexcept : id_(std::exchange(other.id_, 0)) {}
    AudioDevice& operator=(AudioDevice&& other) noexcept {
        if (this != &other) {
            if (id_ != 0) SDL_CloseAudioDevice(id_);
            id_ = std::exchange(other.id_, 0);
        }
        return *this;
    }
    SDL_AudioDeviceID id() const { return id_; }
    explicit operator bool() const { return id_ != 0; }

  private:
    SDL_AudioDeviceID id_ = 0;
};

// What was being done and SDL's own reason for its failure, as one line.
inline std::string failure(std::string_view doing) {
    const char* reason = SDL_GetError();
    return std::string(doing) + " (" + (*reason != '\0' ? reason : "SDL gives no reason") + ")";
}

// A failure the game passes over without a word to the player, where a line on stderr would
// be noise: a machine without sound, a label the font cannot draw at every redraw. Said only
// when FRUVANA_DEBUG is set, so a developer can still find out why.
inline void sayWhenDebugging(const std::string& problem) {
    if (SDL_getenv("FRUVANA_DEBUG") != nullptr)
        std::fprintf(stderr, "Fruvana: %s\n", problem.c_str());
}

// The object an SDL call returned. When it returned none: null, with problem set to what was
// being done and SDL's reason, read at once, before another SDL call can overwrite it.
template <typename T>
T* require(T* result, std::string_view doing, std::string& problem) {
    if (result == nullptr) problem = failure(doing);
    return result;
}

// The same for SDL's calls that return 0 on success: whether this one succeeded.
inline bool require(int status, std::string_view doing, std::string& problem) {
    if (status != 0) problem = failure(doing);
    return status == 0;
}

// Reading memory through SDL; null for an empty image or one too large for SDL's int sizes,
// with problem saying which.
RwPtr readMemory(const void* data, std::size_t size, std::string& problem);

}  // namespace fruvana::sdl
