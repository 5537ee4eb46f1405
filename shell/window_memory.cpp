#include "shell/window_memory.h"

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "shell/data_files.h"

namespace fruvana {

namespace {

// Far beyond any screen, and far from int's limits.
constexpr int kFarthest = 1 << 20;

std::optional<int> number(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < -kFarthest || value > kFarthest)
        return std::nullopt;
    return value;
}

}  // namespace

WindowMemory parseWindowMemory(const std::string& text) {
    WindowMemory memory;
    std::optional<int> x;
    std::optional<int> y;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = line.substr(0, eq);
        const std::string value = line.substr(eq + 1);
        if (key == "mode") {
            if (value != "window" && value != "fullscreen") return {};
            memory.windowed = value == "window";
        } else if (key == "x" || key == "y") {
            const std::optional<int> n = number(value);
            if (!n) return {};
            (key == "x" ? x : y) = n;
        }
    }
    if (x && y) {
        memory.x = x;
        memory.y = y;
    }
    return memory;
}

WindowMemory loadWindowMemory(const std::string& path) {
    if (path.empty()) return {};
    std::ifstream in(path);
    if (!in) return {};
    std::ostringstream text;
    // A file far larger than any this game writes is damage, not something to read whole.
    char buffer[4096];
    in.read(buffer, sizeof buffer);
    if (in.gcount() == static_cast<std::streamsize>(sizeof buffer)) return {};
    text.write(buffer, in.gcount());
    return parseWindowMemory(text.str());
}

bool writeConfigFile(const std::string& path, const std::string& text, std::string& why) {
    namespace fs = std::filesystem;
    if (path.empty()) {
        why = "neither XDG_CONFIG_HOME nor HOME is set";
        return false;
    }
    const fs::path file(path);
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    if (error) {
        why = "cannot make the folder " + file.parent_path().string() + ": " + error.message();
        return false;
    }
    // The data files' saver: a temporary file written, flushed, closed and renamed over the
    // old one, each step checked, so the file is never left torn.
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    return replaceFile(file.parent_path().string() + "/", file.filename().string(),
                       {bytes, text.size()}, &why);
}

}  // namespace fruvana
