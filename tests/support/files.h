#pragma once
// Files as tests see them: a scratch folder, a whole file read or written at once, the data
// files' little-endian values and their FNV-1a checksum, all worked out here by hand.

#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <span>
#include <string>
#include <vector>

namespace fruvana::testing {

using Bytes = std::vector<std::uint8_t>;

// A new empty folder under the temporary folder; empty when none could be made.
inline std::filesystem::path freshFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "fruvana-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) return {};
    return pattern;
}

// A scratch folder for the life of the object, removed with everything in it.
struct ScratchFolder {
    ScratchFolder() : path(freshFolder()) {}
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::permissions(path, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::filesystem::path path;
};

inline Bytes readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// Writes a new file (never a truncated one, which some file systems flush at once).
inline bool writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}
inline bool writeFile(const std::filesystem::path& path, std::string_view bytes) {
    return writeFile(path,
                     std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

// Little-endian values: one of so many bytes added to bytes, 32-bit ones in file order, and
// the one of so many bytes at an offset.
inline void appendLe(Bytes& bytes, std::uint32_t value, int size) {
    for (int b = 0; b < size; ++b) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * b)));
}
inline Bytes le32(std::initializer_list<std::int32_t> values) {
    Bytes bytes;
    for (const std::int32_t v : values) appendLe(bytes, static_cast<std::uint32_t>(v), 4);
    return bytes;
}
inline std::uint32_t leAt(std::span<const std::uint8_t> bytes, std::size_t offset, int size) {
    std::uint32_t value = 0;
    for (int b = 0; b < size; ++b)
        value |= std::uint32_t{bytes[offset + static_cast<std::size_t>(b)]} << (8 * b);
    return value;
}
inline std::int32_t int32At(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::int32_t>(leAt(bytes, offset, 4));
}

inline std::uint32_t fnv1a(std::span<const std::uint8_t> bytes) {
    std::uint32_t hash = 2166136261u;
    for (const std::uint8_t b : bytes) hash = (hash ^ b) * 16777619u;
    return hash;
}

}  // namespace fruvana::testing
