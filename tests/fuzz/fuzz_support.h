#pragma once
// What the fuzz targets share: a reader that takes values from the fuzzer's bytes (and gives
// zeroes once they run out, so every input decodes to something), one scratch folder per
// process, and the way a broken promise stops the run with its reason on one line.

#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace fruvana::fuzzing {

// Reads values from the front of the input; past its end every read gives 0.
class ByteReader {
  public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool empty() const { return pos_ >= size_; }
    std::size_t left() const { return empty() ? 0 : size_ - pos_; }
    std::uint8_t byte() { return empty() ? 0 : data_[pos_++]; }
    // Little-endian, as many bytes as there are.
    std::uint64_t bits(int bytes) {
        std::uint64_t value = 0;
        for (int b = 0; b < bytes; ++b) value |= std::uint64_t{byte()} << (8 * b);
        return value;
    }
    // Up to n bytes as they stand.
    std::string_view take(std::size_t n) {
        if (n > left()) n = left();
        const std::string_view out(reinterpret_cast<const char*>(data_ + pos_), n);
        pos_ += n;
        return out;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// The scratch folder once made (see scratchFolder below), else empty.
inline std::string& madeScratchFolder() {
    static std::string path;
    return path;
}

// Stops the run: the fuzzer keeps the input that led here and the reason says what broke. An
// abort runs no destructors, so the scratch folder goes first.
[[noreturn]] inline void broken(const std::string& promise) {
    std::fprintf(stderr, "fuzz: broken promise: %s\n", promise.c_str());
    std::fflush(stderr);
    std::error_code ignored;
    if (!madeScratchFolder().empty()) std::filesystem::remove_all(madeScratchFolder(), ignored);
    std::abort();
}

// For checks outside hot loops: the reason is made whether or not the promise is kept.
inline void require(bool kept, const std::string& promise) {
    if (!kept) broken(promise);
}

// One scratch folder for the life of the process, made at the first call and removed at exit;
// the path ends with '/'. It is made in $TMPDIR when that is set (scripts/fuzz.sh points it at
// a folder of its own, which it removes even after a crash), else in memory (/dev/shm) where
// there is such a folder, so the game's flushed saves cost no disk writes at every input.
inline const std::string& scratchFolder() {
    struct Folder {
        std::string path;
        Folder() {
            std::error_code ignored;
            const char* tmpdir = std::getenv("TMPDIR");
            std::filesystem::path base = "/dev/shm";
            if (tmpdir != nullptr && *tmpdir != '\0') {
                base = tmpdir;
            } else if (!std::filesystem::is_directory(base, ignored) ||
                       ::access("/dev/shm", W_OK) != 0) {
                base = std::filesystem::temp_directory_path(ignored);
            }
            std::string pattern = (base / "fruvana-fuzz-XXXXXX").string();
            if (::mkdtemp(pattern.data()) == nullptr) broken("cannot make a scratch folder");
            path = pattern + "/";
            madeScratchFolder() = path;
        }
        ~Folder() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    };
    static const Folder folder;
    return folder.path;
}

// Empties the scratch folder, so every input starts from the same nothing.
inline void clearScratchFolder() {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(scratchFolder(), ignored))
        std::filesystem::remove_all(entry.path(), ignored);
}

}  // namespace fruvana::fuzzing
