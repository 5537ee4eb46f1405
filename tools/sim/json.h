#pragma once
// The JSON the reports and the shard files are written in, and the checked reading of the whole
// numbers a shard file holds.

#include <cstdint>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>

namespace fruvana::sim {

// Members keep the order they were written in, so every report lists its fields as documented.
using Json = nlohmann::ordered_json;

// A refusal of a shard file's contents, in words for the one line --merge prints.
class ShardError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// value as a whole number from lo to hi; a ShardError that says what it was meant to be
// otherwise.
inline std::int64_t wholeNumber(const Json& value, std::int64_t lo, std::int64_t hi,
                                const std::string& what) {
    // A number beyond 64 bits or with a fraction is no whole number of ours either.
    if (!value.is_number_integer() ||
        (value.is_number_unsigned() && value.get<std::uint64_t>() > INT64_MAX))
        throw ShardError(what);
    const auto n = value.get<std::int64_t>();
    if (n < lo || n > hi) throw ShardError(what);
    return n;
}

// Member `name` of obj as a whole number from lo to hi.
inline std::int64_t wholeMember(const Json& obj, const char* name, std::int64_t lo,
                                std::int64_t hi) {
    const std::string what =
        std::string("no \"") + name + "\" from " + std::to_string(lo) + " to " + std::to_string(hi);
    if (!obj.is_object() || !obj.contains(name)) throw ShardError(what);
    return wholeNumber(obj.at(name), lo, hi, what);
}

}  // namespace fruvana::sim
