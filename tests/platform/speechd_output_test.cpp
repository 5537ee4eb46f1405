// Speech through speech-dispatcher's client library where no server can be reached: the game's
// calls return at once, speech turns unavailable with its reason, and the terminal hears of it
// once however often the game speaks.

#include "platform/speechd_output.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <thread>

#include "tests/support/files.h"

namespace fruvana {
namespace {

TEST(SpeechdOutput, WithoutAServerSpeechIsUnavailableAndSaidSoOnce) {
    const testing::ScratchFolder scratch;
    const std::string address = "unix_socket:" + (scratch.path / "no-server").string();
    ::setenv("SPEECHD_ADDRESS", address.c_str(), 1);
    ::testing::internal::CaptureStderr();
    {
        SpeechdOutput speech;
        EXPECT_TRUE(speech.problem().empty());
        speech.say("Bell, bell, cherry.");
        // The worker gives up in its own time; ten seconds is far beyond any refusal.
        for (int i = 0; i < 200 && speech.available(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_FALSE(speech.available());
        EXPECT_EQ(speech.problem(), "no speech server could be reached");
        speech.say("Credit 1000. Win 0. Bet 5.");
    }
    const std::string printed = ::testing::internal::GetCapturedStderr();
    ::unsetenv("SPEECHD_ADDRESS");
    EXPECT_EQ(printed.rfind("Fruvana: speech is unavailable: ", 0), 0u) << printed;
    EXPECT_EQ(printed.find("Fruvana", 1), std::string::npos) << printed;
    EXPECT_EQ(printed.find('\n'), printed.size() - 1) << printed;
}

}  // namespace
}  // namespace fruvana
