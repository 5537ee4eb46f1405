// The spoken sounds are understood: an offline recogniser, held to a short list of phrases a
// player might confuse, hears each voice as its own words.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/audio.h"
#include "presentation/asset_catalogue.h"
#include "tests/support/files.h"

extern char** environ;

namespace fruvana {
namespace {

namespace fs = std::filesystem;

constexpr const char* kRecogniser = "pocketsphinx_continuous";
constexpr const char* kModel = "/usr/share/pocketsphinx/model/en-us/en-us";

// About twenty phrases: the five lines the game speaks and their near misses.
constexpr const char* kGrammar = R"(#JSGF V1.0;
grammar verdicts;
public <phrase> = welcome to fruvana good luck | welcome | excellent | good job | not bad | bye
  | not good | good | bad | goodbye | hello | good luck | well done | too bad | very good
  | nice job | thank you | game over | you win | try again | great;
)";

// The model's pronunciations of those words, and the game's name.
constexpr const char* kDictionary = R"(welcome W EH L K AH M
to T UW
to(2) T AH
fruvana F R UW V AA N AH
good G UH D
luck L AH K
excellent EH K S AH L AH N T
job JH AA B
not N AA T
bad B AE D
bye B AY
goodbye G UH D B AY
hello HH AH L OW
hello(2) HH EH L OW
well W EH L
done D AH N
too T UW
very V EH R IY
nice N AY S
thank TH AE NG K
you Y UW
game G EY M
over OW V ER
win W IH N
try T R AY
again AH G EH N
great G R EY T
)";

std::optional<fs::path> onPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string dirs = path != nullptr ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        const std::size_t end = std::min(dirs.find(':', start), dirs.size());
        const fs::path candidate = fs::path(dirs.substr(start, end - start)) / program;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
        start = end + 1;
    }
    return std::nullopt;
}

// Runs the program without a shell and returns what it wrote on its standard output.
std::optional<std::string> run(const fs::path& program, std::vector<std::string> args) {
    int fds[2];
    if (pipe(fds) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    args.insert(args.begin(), program.string());
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (spawned != 0) {
        close(fds[0]);
        return std::nullopt;
    }
    std::string out;
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(fds[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        out.append(buffer, static_cast<std::size_t>(got));
    }
    close(fds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
    return out;
}

struct VoiceCase {
    const char* name;
    const char* heard;
};

class VoiceRecognition : public ::testing::TestWithParam<VoiceCase> {
  protected:
    void SetUp() override {
        recogniser_ = onPath(kRecogniser);
        if (!recogniser_ || !fs::exists(fs::path(kModel) / "mdef"))
            GTEST_SKIP() << "pocketsphinx and its English model are not installed "
                            "(apt-get install pocketsphinx pocketsphinx-en-us)";
        std::ofstream(folder_ / "verdicts.gram") << kGrammar;
        std::ofstream(folder_ / "verdicts.dict") << kDictionary;
    }
    std::optional<fs::path> recogniser_;
    const testing::ScratchFolder scratch_;
    const fs::path folder_ = scratch_.path;
};

TEST_P(VoiceRecognition, IsHeardAsItsOwnPhrase) {
    const VoiceCase& c = GetParam();
    auto bytes = findAsset(AssetKind::Sound, c.name);
    ASSERT_TRUE(bytes);
    auto sound = decodeWav(*bytes, c.name);
    ASSERT_TRUE(sound);
    // the left channel as raw 16-bit samples at the sound's own rate
    const fs::path raw = folder_ / (std::string(c.name) + ".raw");
    testing::Bytes left;
    for (std::size_t i = 0; i < sound->frames(); ++i)
        testing::appendLe(left, static_cast<std::uint16_t>(sound->samples[2 * i]), 2);
    ASSERT_TRUE(testing::writeFile(raw, left));
    const auto heard =
        run(*recogniser_, {"-infile", raw.string(), "-samprate", "22050", "-nfft", "1024", "-hmm",
                           kModel, "-jsgf", (folder_ / "verdicts.gram").string(), "-dict",
                           (folder_ / "verdicts.dict").string(), "-logfn", "/dev/null"});
    ASSERT_TRUE(heard) << kRecogniser << " failed on " << c.name;
    EXPECT_EQ(*heard, c.heard) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Catalogue, VoiceRecognition,
                         ::testing::Values(VoiceCase{"welcome", "welcome to fruvana good luck"},
                                           VoiceCase{"verdict_excellent", "excellent"},
                                           VoiceCase{"verdict_good", "good job"},
                                           VoiceCase{"verdict_not_bad", "not bad"},
                                           VoiceCase{"farewell", "bye"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace fruvana
