#pragma once
// JSON for the reports, written by hand: a writer that keeps commas, quotes and escapes right,
// and a reader for the shard files that --merge takes back.

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace fruvana::sim {

// The text of a JSON string for s, quotes included: the quote, the backslash and every control
// character escaped, everything else as it is.
std::string jsonString(std::string_view s);

class JsonWriter {
  public:
    // Indented by two spaces a level, or with no blanks at all when compact.
    explicit JsonWriter(std::ostream& out, bool compact = false) : out_(out), compact_(compact) {}
    // Ends the document with a newline once the outermost value is closed.
    ~JsonWriter();
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;

    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view name);
    JsonWriter& value(std::string_view text);
    JsonWriter& value(const char* text) { return value(std::string_view(text)); }
    JsonWriter& value(std::int64_t number);
    JsonWriter& value(int number) { return value(static_cast<std::int64_t>(number)); }
    // The shortest decimal that reads back as the same double; null when not finite.
    JsonWriter& value(double number);
    JsonWriter& value(bool flag);
    JsonWriter& null();
    // A number already written as exact decimal text, such as "0.0010".
    JsonWriter& decimal(std::string_view text);

    template <typename T>
    JsonWriter& field(std::string_view name, const T& v) {
        return key(name).value(v);
    }

  private:
    void beforeValue();
    void newline();
    JsonWriter& close(char bracket);

    std::ostream& out_;
    bool compact_;
    // One entry per open object or array: whether anything is in it yet.
    std::vector<bool> filled_;
    bool afterKey_ = false;
    bool done_ = false;
};

// A parsed value: whole numbers as 64-bit integers, other numbers as doubles.
struct JsonValue {
    using Array = std::vector<JsonValue>;
    // Names and values side by side, in the order written (a pair would need the value's type
    // complete here).
    struct Object {
        std::vector<std::string> names;
        std::vector<JsonValue> values;
    };
    std::variant<std::nullptr_t, bool, std::int64_t, std::string, Array, Object, double> data;

    const Object* object() const { return std::get_if<Object>(&data); }
    const Array* array() const { return std::get_if<Array>(&data); }
    const std::int64_t* number() const { return std::get_if<std::int64_t>(&data); }
    const double* fraction() const { return std::get_if<double>(&data); }
    const std::string* string() const { return std::get_if<std::string>(&data); }
    const bool* boolean() const { return std::get_if<bool>(&data); }
    // The member of an object by name; none when this is no object or has no such member.
    const JsonValue* find(std::string_view name) const;
};

// The value the whole text holds; none, with the reason and where in error, for anything else.
std::optional<JsonValue> parseJson(std::string_view text, std::string& error);

}  // namespace fruvana::sim
