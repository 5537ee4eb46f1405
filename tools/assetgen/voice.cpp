// Spoken sounds: espeak-ng runs as a child program (never through a shell) and writes a
// WAV stream to a pipe; the speech is trimmed, sped up until it fits, and padded to length.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/assetgen/sound.h"

extern char** environ;

namespace fruvana::assetgen {

namespace {

std::vector<std::uint8_t> runEspeak(const std::string& text, int wordsPerMinute, int pitch) {
    int fds[2];
    if (pipe(fds) != 0) throw std::runtime_error("cannot create a pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    const std::string speed = std::to_string(wordsPerMinute);
    const std::string pitchArg = std::to_string(pitch);
    std::vector<std::string> args = {"espeak-ng", "-v",     "en-us+m3", "-s", speed,
                                     "-p",        pitchArg, "--stdout", text};
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, "espeak-ng", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (spawned != 0) {
        close(fds[0]);
        throw std::runtime_error("cannot run espeak-ng (is it installed?)");
    }
    std::vector<std::uint8_t> out;
    std::uint8_t buffer[8192];
    for (;;) {
        const ssize_t got = read(fds[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        out.insert(out.end(), buffer, buffer + got);
    }
    close(fds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("espeak-ng failed on \"" + text + "\"");
    return out;
}

// espeak-ng streams a mono 16-bit WAV whose sizes are left open; the samples are
// everything after the 'data' chunk header.
Signal speechSamples(const std::vector<std::uint8_t>& wav) {
    std::size_t pos = 12;
    while (pos + 8 <= wav.size()) {
        if (std::memcmp(&wav[pos], "data", 4) == 0) break;
        const std::uint32_t size = wav[pos + 4] | (wav[pos + 5] << 8) | (wav[pos + 6] << 16) |
                                   (static_cast<std::uint32_t>(wav[pos + 7]) << 24);
        pos += 8 + size;
    }
    if (pos + 8 > wav.size() || std::memcmp(wav.data(), "RIFF", 4) != 0)
        throw std::runtime_error("espeak-ng gave no sound");
    Signal s;
    for (std::size_t i = pos + 8; i + 1 < wav.size(); i += 2) {
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

Signal speak(const std::string& text, double seconds, int pitch) {
    const int total = framesFor(seconds);
    const int lead = framesFor(0.02);
    const int tail = framesFor(0.04);
    Signal speech;
    // start at a lively pace and speed up until the words fit
    for (int wpm = 165; wpm <= 450; wpm += 10) {
        speech = trimSilence(speechSamples(runEspeak(text, wpm, pitch)));
        if (static_cast<int>(speech.size()) <= total - lead - tail) break;
    }
    if (static_cast<int>(speech.size()) > total - lead - tail)
        speech.resize(static_cast<std::size_t>(total - lead - tail));
    double peak = 0;
    for (double v : speech) peak = std::max(peak, std::fabs(v));
    Signal out(static_cast<std::size_t>(total), 0.0);
    const int n = static_cast<int>(speech.size());
    const int fade = framesFor(0.004);
    for (int i = 0; i < n; ++i) {
        double gain = peak > 0 ? 0.85 / peak : 0;
        if (i < fade) gain *= static_cast<double>(i) / fade;
        if (n - 1 - i < fade) gain *= static_cast<double>(n - 1 - i) / fade;
        const auto at = static_cast<std::size_t>(i);
        out[static_cast<std::size_t>(lead) + at] = speech[at] * gain;
    }
    return out;
}

}  // namespace

std::vector<NamedSound> voiceSounds() {
    std::vector<NamedSound> out;
    out.push_back({"welcome", speak("Welcome to Fruvana! Good luck!", 2.68, 48)});
    out.push_back({"exce", speak("Excellent!", 0.89, 60)});
    out.push_back({"good", speak("Good job!", 1.00, 55)});
    out.push_back({"notbad", speak("Not bad!", 1.10, 50)});
    out.push_back({"bye", speak("Bye!", 0.65, 50)});
    return out;
}

}  // namespace fruvana::assetgen
