// Spoken sounds: festival speaks each line with the HTS voice festvox-us-slt-hts. Its text2wave
// runs as a child program (never through a shell), reads the words on a pipe and writes a
// 22050 Hz WAV stream to another; the speech is trimmed, faded at its edges and padded to its
// exact length.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/assetgen/sound.h"

extern char** environ;

namespace fruvana::assetgen {

namespace {

// Closes a pipe end once, whichever way the function leaves.
struct Fd {
    int fd = -1;
    ~Fd() { reset(); }
    void reset() {
        if (fd >= 0) close(fd);
        fd = -1;
    }
};

std::vector<std::uint8_t> runFestival(const std::string& text) {
    Fd toChild[2], fromChild[2];
    int a[2], b[2];
    if (pipe(a) != 0) throw std::runtime_error("cannot create a pipe");
    toChild[0].fd = a[0];
    toChild[1].fd = a[1];
    if (pipe(b) != 0) throw std::runtime_error("cannot create a pipe");
    fromChild[0].fd = b[0];
    fromChild[1].fd = b[1];
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, a[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, b[1], STDOUT_FILENO);
    for (int fd : {a[0], a[1], b[0], b[1]}) posix_spawn_file_actions_addclose(&actions, fd);
    // Deliberate: festival resamples to the game's rate itself, so no resampler of ours can
    // colour the voice, and the HTS voice is chosen by name so a default voice never slips in.
    std::vector<std::string> args = {
        "text2wave", "-F", "22050", "-eval", "(voice_cmu_us_slt_arctic_hts)", "-o", "-"};
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (std::string& s : args) argv.push_back(s.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, "text2wave", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    toChild[0].reset();
    fromChild[1].reset();
    if (spawned != 0)
        throw std::runtime_error("cannot run text2wave (install festival and festvox-us-slt-hts)");
    // A child that dies before reading must give an error, not end the generator by SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);
    // The words fit in the pipe's buffer, so writing them all before reading cannot block.
    const std::string words = text + "\n";
    const bool written =
        write(toChild[1].fd, words.data(), words.size()) == static_cast<ssize_t>(words.size());
    toChild[1].reset();
    std::vector<std::uint8_t> out;
    std::uint8_t buffer[8192];
    for (;;) {
        const ssize_t got = read(fromChild[0].fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        out.insert(out.end(), buffer, buffer + got);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!written || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("text2wave failed on \"" + text +
                                 "\" (is festvox-us-slt-hts installed?)");
    return out;
}

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

// A mono 16-bit WAV at the game's rate; the samples are the 'data' chunk's.
Signal speechSamples(const std::vector<std::uint8_t>& wav, const std::string& text) {
    if (wav.size() < 44 || std::memcmp(wav.data(), "RIFF", 4) != 0)
        throw std::runtime_error("text2wave gave no sound for \"" + text + "\"");
    std::size_t pos = 12;
    while (pos + 8 <= wav.size()) {
        if (std::memcmp(&wav[pos], "fmt ", 4) == 0 && pos + 24 <= wav.size()) {
            const unsigned channels = wav[pos + 10] | (wav[pos + 11] << 8);
            const std::uint32_t rate = le32(wav, pos + 12);
            if (channels != 1 || rate != static_cast<std::uint32_t>(kSampleRate))
                throw std::runtime_error("text2wave spoke \"" + text + "\" at " +
                                         std::to_string(rate) + " Hz in " +
                                         std::to_string(channels) + " channels");
        }
        if (std::memcmp(&wav[pos], "data", 4) == 0) break;
        pos += 8 + le32(wav, pos + 4);
    }
    if (pos + 8 > wav.size()) throw std::runtime_error("text2wave gave no samples");
    // Deliberate: on a pipe text2wave cannot go back to fill in the sizes, so it leaves them
    // zero and writes the finished 44-byte header again after the samples. Read as samples,
    // that header would be a loud click at the end of every line; its sizes must also agree
    // with what came, or the stream is not understood.
    constexpr std::size_t kHeader = 44;
    std::size_t end = std::min(wav.size(), pos + 8 + le32(wav, pos + 4));
    if (le32(wav, pos + 4) == 0) {
        const std::size_t tail = wav.size() - kHeader;
        if (wav.size() < pos + 8 + kHeader || std::memcmp(&wav[tail], "RIFF", 4) != 0 ||
            le32(wav, tail + 40) != tail - (pos + 8))
            throw std::runtime_error("text2wave gave a stream of unknown length for \"" + text +
                                     "\"");
        end = tail;
    }
    Signal s;
    for (std::size_t i = pos + 8; i + 1 < end; i += 2) {
        const auto v = static_cast<std::int16_t>(wav[i] | (wav[i + 1] << 8));
        s.push_back(v / 32768.0);
    }
    return s;
}

Signal trimSilence(const Signal& s) {
    constexpr double kQuiet = 0.01;
    std::size_t first = 0;
    while (first < s.size() && std::fabs(s[first]) < kQuiet) ++first;
    std::size_t last = s.size();
    while (last > first && std::fabs(s[last - 1]) < kQuiet) --last;
    return Signal(s.begin() + static_cast<std::ptrdiff_t>(first),
                  s.begin() + static_cast<std::ptrdiff_t>(last));
}

// Speaks the line into exactly 'seconds': a short lead of silence, the speech brought to a
// common level, faded in over 4 ms and out over 'fadeOut' seconds, then silence to the end.
Signal speak(const std::string& text, double seconds, double fadeOut = 0.004) {
    const int total = framesFor(seconds);
    const int lead = framesFor(0.02);
    const int tail = framesFor(0.04);
    const Signal speech = trimSilence(speechSamples(runFestival(text), text));
    const int n = static_cast<int>(speech.size());
    if (n == 0) throw std::runtime_error("text2wave spoke \"" + text + "\" as silence");
    if (n > total - lead - tail)
        throw std::runtime_error("\"" + text + "\" takes " + std::to_string(n) +
                                 " frames, more than its " + std::to_string(total) +
                                 "-frame sound");
    double peak = 0;
    for (double v : speech) peak = std::max(peak, std::fabs(v));
    Signal out(static_cast<std::size_t>(total), 0.0);
    const int fadeIn = framesFor(0.004);
    const int fade = std::min(framesFor(fadeOut), n / 2);
    for (int i = 0; i < n; ++i) {
        double gain = 0.85 / peak;
        if (i < fadeIn) gain *= static_cast<double>(i) / fadeIn;
        const int left = n - 1 - i;
        if (left < fade) {
            // a raised-cosine tail: the last syllable dies away instead of stopping
            const double t = static_cast<double>(left) / fade;
            gain *= 0.5 - 0.5 * std::cos(3.14159265358979323846 * t);
        }
        const auto at = static_cast<std::size_t>(i);
        out[static_cast<std::size_t>(lead) + at] = speech[at] * gain;
    }
    return out;
}

}  // namespace

std::vector<NamedSound> voiceSounds() {
    std::vector<NamedSound> out;
    out.push_back({"welcome", speak("Welcome to Fruvana! Good luck!", 2.68)});
    out.push_back({"verdict_excellent", speak("Excellent!", 0.89)});
    out.push_back({"verdict_good", speak("Good job!", 1.00)});
    out.push_back({"verdict_not_bad", speak("Not bad!", 1.10)});
    // Deliberate: the farewell fades over its last 120 ms, so the program's end, which cuts it
    // off after 650 ms, never clips a word that is still sounding.
    out.push_back({"farewell", speak("Bye!", 0.65, 0.12)});
    return out;
}

}  // namespace fruvana::assetgen
