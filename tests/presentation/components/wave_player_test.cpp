// The sound players' rules through the headless sound channel, and once through SDL's real
// audio path with its disk driver.
#include "presentation/components/wave_player.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "platform/headless_platform.h"
#include "platform/sdl_platform.h"
#include "tests/platform/wav_image.h"

namespace fruvana {
namespace {

using Action = SoundLogEntry::Action;

class WavePlayerTest : public ::testing::Test {
  protected:
    HeadlessPlatform platform;
    HeadlessAudio& audio = platform.headlessAudio();
    // A second of sound each; spin loops like the spin sounds.
    const std::vector<std::uint8_t> second = test::stereoWav(test::rampSamples(22050));
    WavePlayer spin{audio, "spin"};
    WavePlayer chime{audio, "chime"};
    WavePlayer welcome{audio, "welcome"};
    WavePlayer click{audio, "click"};

    void SetUp() override {
        for (WavePlayer* p : {&spin, &chime, &welcome, &click}) p->setSound(second);
        spin.setLoop(true);
    }
    std::string current() const { return audio.current() ? audio.current()->name : "-"; }
    std::vector<std::string> actions() const {
        std::vector<std::string> out;
        for (const auto& e : audio.log()) {
            out.push_back(e.action == Action::Stopped  ? "stop"
                          : e.action == Action::Played ? "play " + e.name + (e.loop ? " loop" : "")
                                                       : "refused " + e.name);
        }
        return out;
    }
};

TEST_F(WavePlayerTest, ANewSoundCutsOffTheLoopWhoseActiveStaysTrue) {
    spin.play();
    platform.advance(3000);
    EXPECT_EQ(current(), "spin");  // still looping after three seconds of a one-second sound
    EXPECT_TRUE(spin.active());
    chime.play();
    EXPECT_EQ(current(), "chime");
    EXPECT_TRUE(spin.active());
    EXPECT_FALSE(chime.active());
    EXPECT_EQ(actions(),
              (std::vector<std::string>{"stop", "play spin loop", "stop", "play chime"}));
    platform.advance(1001);
    EXPECT_EQ(current(), "-");  // chime sounded once
}

TEST_F(WavePlayerTest, AtNoVolumeASoundNeitherPlaysNorCutsAnotherOff) {
    welcome.play();
    click.setVolume(0);
    click.play();
    EXPECT_EQ(current(), "welcome");
    EXPECT_EQ(actions(), (std::vector<std::string>{"stop", "play welcome"}));
}

TEST_F(WavePlayerTest, AClickCutsOffAVoice) {
    welcome.play();
    platform.advance(300);
    click.play();
    EXPECT_EQ(current(), "click");
}

TEST_F(WavePlayerTest, ActiveStartsAndStopsOnlyOnAChange) {
    spin.setActive(true);
    spin.setActive(true);  // does not restart the loop
    EXPECT_EQ(actions(), (std::vector<std::string>{"stop", "play spin loop"}));
    spin.setActive(false);
    EXPECT_FALSE(spin.active());
    EXPECT_EQ(current(), "-");
    // A sound that does not loop plays once, and Active reads false again at once.
    chime.setActive(true);
    EXPECT_FALSE(chime.active());
    EXPECT_EQ(current(), "chime");
}

TEST_F(WavePlayerTest, StopSilencesWhicheverPlayerStartedTheSound) {
    spin.play();
    chime.stop();
    EXPECT_EQ(current(), "-");
    EXPECT_TRUE(spin.active());  // spin does not know
    spin.stop();
    EXPECT_FALSE(spin.active());
}

TEST_F(WavePlayerTest, WaitToStopReturnsWhenTheSoundHasEnded) {
    welcome.setWaitToStop(true);
    const auto before = platform.ticksMs();
    welcome.play();
    EXPECT_EQ(platform.ticksMs() - before, 1000u);
    EXPECT_EQ(current(), "-");
    // A loop that was asked to be waited for still returns at once.
    spin.setWaitToStop(true);
    spin.play();
    EXPECT_EQ(platform.ticksMs() - before, 1000u);
    EXPECT_TRUE(spin.active());
}

struct BrokenSound {
    const char* name;
    std::vector<std::uint8_t> image;
};

void PrintTo(const BrokenSound& c, std::ostream* os) {
    *os << c.name;
}

class WavePlayerBroken : public WavePlayerTest,
                         public ::testing::WithParamInterface<BrokenSound> {};

TEST_P(WavePlayerBroken, StopsWhatPlaysAndPlaysNothing) {
    WavePlayer broken(audio, "broken");
    broken.setSound(GetParam().image);
    broken.setLoop(true);
    spin.play();
    broken.play();
    EXPECT_EQ(current(), "-");
    EXPECT_FALSE(broken.active());
    EXPECT_EQ(actions(), (std::vector<std::string>{"stop", "play spin loop", "stop"}));
    // Given a good image, the same player plays again.
    broken.setSound(second);
    broken.play();
    EXPECT_EQ(current(), "broken");
    EXPECT_TRUE(broken.active());
}

std::vector<std::uint8_t> truncatedWav() {
    auto image = test::stereoWav(test::rampSamples(100));
    image.resize(30);
    return image;
}

INSTANTIATE_TEST_SUITE_P(
    Images, WavePlayerBroken,
    ::testing::Values(BrokenSound{"empty", {}}, BrokenSound{"header_cut_short", truncatedWav()},
                      BrokenSound{"not_a_wav", std::vector<std::uint8_t>(64, 0x42)},
                      BrokenSound{"unknown_codec",
                                  test::wavImage({1, 2, 3, 4}, 2, 22050, 16, 0x55AA)},
                      BrokenSound{"no_sound_in_it", test::stereoWav({})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WavePlayerNoDevice, StaysSilentAndInactive) {
    HeadlessPlatform platform(HeadlessOptions{.audioAvailable = false});
    WavePlayer spin(platform.audio(), "spin");
    spin.setSound(test::stereoWav(test::rampSamples(100)));
    spin.setLoop(true);
    spin.play();
    EXPECT_FALSE(spin.active());
    spin.setActive(true);
    EXPECT_FALSE(spin.active());
}

TEST(WavePlayerDestruction, StopsTheSound) {
    HeadlessPlatform platform;
    {
        WavePlayer spin(platform.audio(), "spin");
        spin.setSound(test::stereoWav(test::rampSamples(100)));
        spin.setLoop(true);
        spin.play();
        EXPECT_TRUE(platform.audio().busy());
    }
    EXPECT_FALSE(platform.audio().busy());
}

// SDL's disk driver writes what the device plays to a file: the loop must be in it, sample
// for sample at full volume and halved at half volume, and after Stop only silence may follow.
class WavePlayerOnDisk : public ::testing::TestWithParam<int> {};

TEST_P(WavePlayerOnDisk, PlaysThroughTheRealAudioPath) {
    const int volume = GetParam();
    const auto file = std::filesystem::temp_directory_path() /
                      ("fruvana-disk-audio-" + std::to_string(::getpid()) + ".raw");
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    std::string error;
    auto platform = SdlPlatform::create({.videoDriver = "dummy", .audioDriver = "disk"}, error);
    ASSERT_TRUE(platform) << error;
    ASSERT_TRUE(platform->audio().available());
    const auto samples = test::rampSamples(300, 1000);
    {
        WavePlayer spin(platform->audio(), "spin");
        spin.setSound(test::stereoWav(samples));
        spin.setLoop(true);
        spin.setVolume(volume);
        spin.play();
        EXPECT_TRUE(spin.active());
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        spin.stop();
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    platform.reset();
    unsetenv("SDL_DISKAUDIOFILE");

    const testing::Bytes bytes = testing::readFile(file);
    std::filesystem::remove(file);
    std::vector<std::int16_t> out(bytes.size() / 2);
    std::memcpy(out.data(), bytes.data(), out.size() * 2);
    const auto heard = [&](std::size_t i) {
        return static_cast<std::int16_t>(samples[i % samples.size()] * volume / 100);
    };
    // Find where the sound starts, then check two whole rounds of the loop.
    const auto first = std::find(out.begin(), out.end(), heard(0));
    ASSERT_NE(first, out.end());
    const std::size_t at = static_cast<std::size_t>(first - out.begin());
    ASSERT_GE(out.size(), at + 2 * samples.size());
    for (std::size_t i = 0; i < 2 * samples.size(); ++i) {
        ASSERT_EQ(out[at + i], heard(i)) << i;
    }
    // The output ends in silence after Stop.
    ASSERT_GE(out.size(), 256u);
    EXPECT_TRUE(std::all_of(out.end() - 256, out.end(), [](std::int16_t s) { return s == 0; }));
}

INSTANTIATE_TEST_SUITE_P(FullAndHalf, WavePlayerOnDisk, ::testing::Values(100, 50));

TEST(WavePlayerSdl, WithoutAnAudioDeviceEverythingElseGoesOn) {
    std::string error;
    ::testing::internal::CaptureStderr();
    ::testing::internal::CaptureStdout();
    auto platform =
        SdlPlatform::create({.videoDriver = "dummy", .audioDriver = "no-such-driver"}, error);
    ASSERT_TRUE(platform) << error;
    EXPECT_FALSE(platform->audio().available());
    WavePlayer spin(platform->audio(), "spin");
    spin.setSound(test::stereoWav(test::rampSamples(100)));
    spin.setLoop(true);
    spin.play();
    EXPECT_FALSE(spin.active());
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

// SDL's own choice of sound system: on a machine without sound (like a build server) the
// system libraries it tries must not talk to the terminal either.
TEST(WavePlayerSdl, TheDefaultSoundSystemSaysNothingWhetherOrNotItOpens) {
    std::string error;
    ::testing::internal::CaptureStderr();
    auto platform = SdlPlatform::create({.videoDriver = "dummy", .audioDriver = ""}, error);
    ASSERT_TRUE(platform) << error;
    {
        WavePlayer chime(platform->audio(), "chime");
        chime.setSound(test::stereoWav(test::rampSamples(100)));
        chime.play();
    }
    platform.reset();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

}  // namespace
}  // namespace fruvana
