#include "tools/sim/json.h"

#include <array>
#include <charconv>
#include <cmath>
#include <ostream>

namespace fruvana::sim {

std::string jsonString(std::string_view s) {
    std::string text = "\"";
    for (const char ch : s) {
        switch (ch) {
            case '"':
                text += "\\\"";
                break;
            case '\\':
                text += "\\\\";
                break;
            case '\n':
                text += "\\n";
                break;
            case '\r':
                text += "\\r";
                break;
            case '\t':
                text += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(ch) < 0x20) {
                    static constexpr std::string_view kHex = "0123456789abcdef";
                    const auto code = static_cast<unsigned char>(ch);
                    text += "\\u00";
                    text += kHex[code >> 4];
                    text += kHex[code & 15];
                } else {
                    text += ch;
                }
        }
    }
    return text + "\"";
}

JsonWriter::~JsonWriter() {
    if (done_) out_ << '\n';
}

void JsonWriter::newline() {
    if (compact_) return;
    out_ << '\n';
    for (std::size_t i = 0; i < filled_.size(); ++i) out_ << "  ";
}

void JsonWriter::beforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (filled_.empty()) return;
    if (filled_.back()) out_ << ',';
    filled_.back() = true;
    newline();
}

JsonWriter& JsonWriter::beginObject() {
    beforeValue();
    out_ << '{';
    filled_.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::close(char bracket) {
    const bool any = !filled_.empty() && filled_.back();
    if (!filled_.empty()) filled_.pop_back();
    if (any) newline();
    out_ << bracket;
    done_ = filled_.empty();
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    return close('}');
}

JsonWriter& JsonWriter::beginArray() {
    beforeValue();
    out_ << '[';
    filled_.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    return close(']');
}

JsonWriter& JsonWriter::key(std::string_view name) {
    beforeValue();
    out_ << jsonString(name) << (compact_ ? ":" : ": ");
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view text) {
    beforeValue();
    out_ << jsonString(text);
    done_ = filled_.empty();
    return *this;
}

JsonWriter& JsonWriter::value(std::int64_t number) {
    beforeValue();
    out_ << number;
    done_ = filled_.empty();
    return *this;
}

JsonWriter& JsonWriter::value(double number) {
    if (!std::isfinite(number)) return null();
    std::array<char, 32> text{};
    const auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), number);
    return decimal(error == std::errc{} ? std::string_view(text.data(), end - text.data())
                                        : "null");
}

JsonWriter& JsonWriter::value(bool flag) {
    return decimal(flag ? "true" : "false");
}

JsonWriter& JsonWriter::null() {
    return decimal("null");
}

JsonWriter& JsonWriter::decimal(std::string_view text) {
    beforeValue();
    out_ << text;
    done_ = filled_.empty();
    return *this;
}

const JsonValue* JsonValue::find(std::string_view name) const {
    const Object* members = object();
    if (members == nullptr) return nullptr;
    for (std::size_t i = 0; i < members->names.size(); ++i)
        if (members->names[i] == name) return &members->values[i];
    return nullptr;
}

namespace {

// A recursive descent over the text; nesting is capped so that no file can exhaust the stack.
class Parser {
  public:
    explicit Parser(std::string_view text) : text_(text) {}

    std::optional<JsonValue> document(std::string& error) {
        JsonValue value;
        if (skip(), !parse(value, 0) || (skip(), at_ != text_.size())) {
            if (error_.empty()) error_ = "unexpected text after the value";
            error = error_ + " at byte " + std::to_string(at_ + 1);
            return std::nullopt;
        }
        return value;
    }

  private:
    static constexpr int kMaxDepth = 64;

    bool fail(std::string reason) {
        if (error_.empty()) error_ = std::move(reason);
        return false;
    }
    void skip() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\n' ||
                                      text_[at_] == '\r' || text_[at_] == '\t'))
            ++at_;
    }
    bool take(char ch) {
        if (at_ < text_.size() && text_[at_] == ch) {
            ++at_;
            return true;
        }
        return false;
    }
    bool word(std::string_view w) {
        if (text_.substr(at_, w.size()) != w) return fail("not a JSON value");
        at_ += w.size();
        return true;
    }

    bool parse(JsonValue& out, int depth) {
        if (depth > kMaxDepth) return fail("nested too deeply");
        if (at_ >= text_.size()) return fail("the text ends where a value should be");
        const char ch = text_[at_];
        if (ch == '{') return object(out, depth);
        if (ch == '[') return array(out, depth);
        if (ch == '"') {
            std::string s;
            if (!string(s)) return false;
            out.data = std::move(s);
            return true;
        }
        if (ch == 't') return word("true") && (out.data = true, true);
        if (ch == 'f') return word("false") && (out.data = false, true);
        if (ch == 'n') return word("null") && (out.data = nullptr, true);
        return number(out);
    }

    // -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?: whole numbers as 64-bit integers, the
    // rest as doubles.
    bool number(JsonValue& out) {
        const std::size_t start = at_;
        const auto digits = [this] {
            const std::size_t from = at_;
            while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') ++at_;
            return at_ - from;
        };
        take('-');
        const std::size_t intStart = at_;
        const std::size_t intDigits = digits();
        if (intDigits == 0) return fail("not a JSON value");
        if (intDigits > 1 && text_[intStart] == '0') return fail("a number with a leading zero");
        bool whole = true;
        if (take('.')) {
            whole = false;
            if (digits() == 0) return fail("a number with no digits after the point");
        }
        if (take('e') || take('E')) {
            whole = false;
            if (!take('+')) take('-');
            if (digits() == 0) return fail("a number with no digits in its exponent");
        }
        const char* first = text_.data() + start;
        const char* last = text_.data() + at_;
        if (whole) {
            std::int64_t value = 0;
            const auto [end, error] = std::from_chars(first, last, value);
            if (error != std::errc{} || end != last) return fail("a number beyond 64 bits");
            out.data = value;
        } else {
            double value = 0;
            const auto [end, error] = std::from_chars(first, last, value);
            if (error != std::errc{} || end != last) return fail("a number out of range");
            out.data = value;
        }
        return true;
    }

    bool hex4(unsigned& code) {
        if (at_ + 4 > text_.size()) return fail("a \\u escape cut short");
        code = 0;
        for (int i = 0; i < 4; ++i) {
            const char h = text_[at_++];
            code <<= 4;
            if (h >= '0' && h <= '9') {
                code |= static_cast<unsigned>(h - '0');
            } else if (h >= 'a' && h <= 'f') {
                code |= static_cast<unsigned>(h - 'a' + 10);
            } else if (h >= 'A' && h <= 'F') {
                code |= static_cast<unsigned>(h - 'A' + 10);
            } else {
                return fail("a bad \\u escape");
            }
        }
        return true;
    }

    static void appendUtf8(std::string& s, unsigned code) {
        if (code < 0x80) {
            s += static_cast<char>(code);
        } else if (code < 0x800) {
            s += static_cast<char>(0xC0 | (code >> 6));
            s += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            s += static_cast<char>(0xE0 | (code >> 12));
            s += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            s += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            s += static_cast<char>(0xF0 | (code >> 18));
            s += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            s += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            s += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    bool string(std::string& s) {
        ++at_;  // the opening quote
        while (true) {
            if (at_ >= text_.size()) return fail("a string that never ends");
            const char ch = text_[at_++];
            if (ch == '"') return true;
            if (static_cast<unsigned char>(ch) < 0x20)
                return fail("a control character in a string");
            if (ch != '\\') {
                s += ch;
                continue;
            }
            if (at_ >= text_.size()) return fail("a string that never ends");
            const char e = text_[at_++];
            switch (e) {
                case '"':
                case '\\':
                case '/':
                    s += e;
                    break;
                case 'b':
                    s += '\b';
                    break;
                case 'f':
                    s += '\f';
                    break;
                case 'n':
                    s += '\n';
                    break;
                case 'r':
                    s += '\r';
                    break;
                case 't':
                    s += '\t';
                    break;
                case 'u': {
                    unsigned code = 0;
                    if (!hex4(code)) return false;
                    // A surrogate pair makes one code point; a lone half stands for itself.
                    if (code >= 0xD800 && code < 0xDC00 && text_.substr(at_, 2) == "\\u") {
                        at_ += 2;
                        unsigned low = 0;
                        if (!hex4(low)) return false;
                        if (low >= 0xDC00 && low < 0xE000) {
                            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                        } else {
                            appendUtf8(s, code);
                            code = low;
                        }
                    }
                    appendUtf8(s, code);
                    break;
                }
                default:
                    return fail("a bad escape in a string");
            }
        }
    }

    bool array(JsonValue& out, int depth) {
        ++at_;
        JsonValue::Array items;
        skip();
        if (!take(']')) {
            while (true) {
                skip();
                items.emplace_back();
                if (!parse(items.back(), depth + 1)) return false;
                skip();
                if (take(']')) break;
                if (!take(',')) return fail("expected , or ] in an array");
            }
        }
        out.data = std::move(items);
        return true;
    }

    bool object(JsonValue& out, int depth) {
        ++at_;
        JsonValue::Object members;
        skip();
        if (!take('}')) {
            while (true) {
                skip();
                if (at_ >= text_.size() || text_[at_] != '"')
                    return fail("expected a name in an object");
                std::string name;
                if (!string(name)) return false;
                skip();
                if (!take(':')) return fail("expected : after a name");
                skip();
                members.names.push_back(std::move(name));
                members.values.emplace_back();
                if (!parse(members.values.back(), depth + 1)) return false;
                skip();
                if (take('}')) break;
                if (!take(',')) return fail("expected , or } in an object");
            }
        }
        out.data = std::move(members);
        return true;
    }

    std::string_view text_;
    std::size_t at_ = 0;
    std::string error_;
};

}  // namespace

std::optional<JsonValue> parseJson(std::string_view text, std::string& error) {
    return Parser(text).document(error);
}

}  // namespace fruvana::sim
