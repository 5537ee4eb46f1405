#include "platform/sdl_audio.h"

#include <dlfcn.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

namespace fruvana {

std::uint32_t PcmSound::durationMs() const {
    const std::uint64_t frames = this->frames();
    return static_cast<std::uint32_t>((frames * 1000 + AudioFormat::kFrequency - 1) /
                                      AudioFormat::kFrequency);
}

void copyAtVolume(std::span<std::int16_t> out, std::span<const std::int16_t> samples, int volume) {
    const std::size_t n = std::min(out.size(), samples.size());
    if (volume >= kFullVolume) {
        std::memcpy(out.data(), samples.data(), n * sizeof(std::int16_t));
        return;
    }
    const int scale = std::max(volume, 0);
    for (std::size_t i = 0; i < n; ++i)
        out[i] = static_cast<std::int16_t>(samples[i] * scale / kFullVolume);
}

namespace {

std::shared_ptr<const PcmSound> readWav(std::span<const std::uint8_t> image, std::string& name,
                                        std::string& problem) {
    sdl::RwPtr rw = sdl::readMemory(image.data(), image.size(), problem);
    if (!rw) return nullptr;
    SDL_AudioSpec spec{};
    Uint8* rawBuffer = nullptr;
    Uint32 length = 0;
    if (!sdl::require(SDL_LoadWAV_RW(rw.get(), 0, &spec, &rawBuffer, &length),
                      "not a WAV sound that can be read", problem)) {
        return nullptr;
    }
    const sdl::WavPtr buffer(rawBuffer);
    if (length > static_cast<Uint32>(INT_MAX / 16)) {
        problem = "the sound is too long (" + std::to_string(length) + " bytes)";
        return nullptr;
    }

    // Whatever the image holds is converted to the device's format by SDL.
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, AUDIO_S16SYS,
                          AudioFormat::kChannels, AudioFormat::kFrequency) < 0) {
        problem = sdl::failure("the sound's format cannot be converted");
        return nullptr;
    }
    cvt.len = static_cast<int>(length);
    std::vector<Uint8> work(static_cast<std::size_t>(length) * std::max(cvt.len_mult, 1));
    if (length != 0) std::memcpy(work.data(), buffer.get(), length);
    cvt.buf = work.data();
    cvt.len_cvt = cvt.len;
    if (cvt.needed && length != 0 &&
        !sdl::require(SDL_ConvertAudio(&cvt), "the sound cannot be converted", problem)) {
        return nullptr;
    }

    auto sound = std::make_shared<PcmSound>();
    sound->name = std::move(name);
    // Whole frames only: a torn last frame would swap the channels of everything after it.
    const std::size_t bytes = static_cast<std::size_t>(cvt.len_cvt) / AudioFormat::kBytesPerFrame *
                              AudioFormat::kBytesPerFrame;
    sound->samples.resize(bytes / sizeof(std::int16_t));
    if (bytes != 0) std::memcpy(sound->samples.data(), work.data(), bytes);
    return sound;
}

}  // namespace

std::shared_ptr<const PcmSound> decodeWav(std::span<const std::uint8_t> image, std::string name,
                                          std::string* why) {
    std::string problem;
    std::shared_ptr<const PcmSound> sound = readWav(image, name, problem);
    if (!sound && why != nullptr) *why = std::move(problem);
    return sound;
}

namespace {

void ignoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

// On a machine without sound, ALSA (which SDL loads by itself) writes its complaints straight
// to the terminal. A missing device is no news to the player: route them nowhere. The library
// stays loaded for the life of the program, as it would anyway once SDL has used it.
void silenceAlsa() {
    static const bool done = [] {
        void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_GLOBAL);
        if (alsa == nullptr) return true;
        using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
        using SetHandler = int (*)(Handler);
        if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"))) {
            set(&ignoreAlsaMessage);
        }
        return true;
    }();
    (void)done;
}

}  // namespace

bool SdlAudio::Channel::audible() const {
    if (!sound || sound->samples.empty()) return false;
    return loop || position < sound->samples.size();
}

SdlAudio::SdlAudio(const std::string& driverName) {
    silenceAlsa();
    if (driverName.empty()) {
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    } else {
        SDL_SetHint(SDL_HINT_AUDIODRIVER, driverName.c_str());
    }
    // Deliberate: no sound (no card, no sound server) is an ordinary machine, not news to the
    // player; the game plays silently and the reason is said under FRUVANA_DEBUG only.
    subsystem_ = sdl::Subsystem(SDL_INIT_AUDIO);
    if (!subsystem_) {
        sdl::sayWhenDebugging(sdl::failure("no sound: audio cannot start"));
        return;
    }
    SDL_AudioSpec want{};
    want.freq = AudioFormat::kFrequency;
    want.format = AUDIO_S16SYS;
    want.channels = AudioFormat::kChannels;
    want.samples = 512;  // about 23 ms: a click follows the press it belongs to
    want.callback = &SdlAudio::fill;
    want.userdata = &channel_;
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts from our format to whatever the hardware wants.
    const SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (id == 0) {
        sdl::sayWhenDebugging(sdl::failure("no sound: no audio device opens"));
        return;
    }
    device_ = sdl::AudioDevice(id);
    SDL_PauseAudioDevice(id, 0);
}

SdlAudio::~SdlAudio() = default;

void SDLCALL SdlAudio::fill(void* userdata, Uint8* stream, int len) {
    // Runs on SDL's audio thread with the device locked. It never frees anything: a sound that
    // ends stays in the channel until the user-interface thread replaces it.
    auto& channel = *static_cast<Channel*>(userdata);
    std::memset(stream, 0, static_cast<std::size_t>(len));
    if (!channel.audible()) return;
    const std::vector<std::int16_t>& samples = channel.sound->samples;
    auto* out = reinterpret_cast<std::int16_t*>(stream);
    std::size_t wanted = static_cast<std::size_t>(len) / sizeof(std::int16_t);
    while (wanted > 0) {
        if (channel.position >= samples.size()) {
            if (!channel.loop) break;
            channel.position = 0;
        }
        const std::size_t n = std::min(wanted, samples.size() - channel.position);
        copyAtVolume({out, n}, {samples.data() + channel.position, n}, channel.volume);
        out += n;
        wanted -= n;
        channel.position += n;
    }
}

bool SdlAudio::play(std::shared_ptr<const PcmSound> sound, bool loop, bool interrupt, int volume) {
    if (!device_ || !sound) return false;
    std::shared_ptr<const PcmSound> previous;
    SDL_LockAudioDevice(device_.id());
    const bool refused = !interrupt && channel_.audible();
    if (!refused) {
        previous = std::exchange(channel_.sound, std::move(sound));
        channel_.position = 0;
        channel_.loop = loop;
        channel_.volume = volume;
    }
    SDL_UnlockAudioDevice(device_.id());
    // previous is released here, outside the lock and off the audio thread.
    return !refused;
}

void SdlAudio::stop() {
    if (!device_) return;
    std::shared_ptr<const PcmSound> previous;
    SDL_LockAudioDevice(device_.id());
    previous = std::move(channel_.sound);
    channel_.position = 0;
    channel_.loop = false;
    SDL_UnlockAudioDevice(device_.id());
}

bool SdlAudio::busy() const {
    if (!device_) return false;
    SDL_LockAudioDevice(device_.id());
    const bool audible = channel_.audible();
    SDL_UnlockAudioDevice(device_.id());
    return audible;
}

void SdlAudio::waitUntilQuiet() {
    if (!device_) return;
    std::uint64_t remainingMs = 0;
    bool looping = false;
    SDL_LockAudioDevice(device_.id());
    if (channel_.audible()) {
        looping = channel_.loop;
        const std::size_t left = channel_.sound->samples.size() - channel_.position;
        remainingMs = left / AudioFormat::kChannels * 1000 / AudioFormat::kFrequency;
    }
    SDL_UnlockAudioDevice(device_.id());
    if (looping) return;  // a loop never ends by itself
    // The callback consumes the sound at the device's pace; a stalled device must not hang the
    // program, so the wait gives up a second after the sound should have ended.
    const std::uint64_t giveUpAt = SDL_GetTicks64() + remainingMs + 1000;
    while (busy() && SDL_GetTicks64() < giveUpAt) SDL_Delay(5);
}

}  // namespace fruvana
