#pragma once
// The one SDL audio device of the program, playing one PcmSound at a time from its callback.
// Internal to platform/.

#include <memory>
#include <string>

#include "platform/audio.h"
#include "platform/sdl_handles.h"

namespace fruvana {

class SdlAudio : public AudioOutput {
  public:
    // Opens the device (driverName empty: SDL's choice). When there is no device, or it does
    // not open, the channel stays silent and unavailable; why is printed only under
    // FRUVANA_DEBUG.
    explicit SdlAudio(const std::string& driverName);
    ~SdlAudio() override;
    SdlAudio(const SdlAudio&) = delete;
    SdlAudio& operator=(const SdlAudio&) = delete;

    bool available() const override { return static_cast<bool>(device_); }
    bool play(std::shared_ptr<const PcmSound> sound, bool loop, bool interrupt,
              int volume) override;
    void stop() override;
    bool busy() const override;
    void waitUntilQuiet() override;

  private:
    // What the callback plays; touched only under the device lock.
    struct Channel {
        std::shared_ptr<const PcmSound> sound;
        std::size_t position = 0;  // in samples
        bool loop = false;
        int volume = kFullVolume;
        bool audible() const;
    };
    static void SDLCALL fill(void* userdata, Uint8* stream, int len);

    sdl::Subsystem subsystem_;
    Channel channel_;
    sdl::AudioDevice device_;  // declared last: closed first, before the channel goes
};

}  // namespace fruvana
