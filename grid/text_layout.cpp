#include "grid/text_layout.h"

#include <cstddef>

namespace fruvana {

namespace {

constexpr std::string_view kEllipsis = "...";

std::vector<std::string_view> splitParagraphs(std::string_view text) {
    std::vector<std::string_view> out;
    while (true) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        out.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return out;
}

// Greedy breaking between words: a word joins the line while the line still fits, and the
// spaces at a break are dropped.
void wrap(std::string_view paragraph, int width, const MeasureText& measure,
          std::vector<std::string>& out) {
    std::string line;
    bool started = false;
    std::size_t i = 0;
    const std::size_t n = paragraph.size();
    while (i < n) {
        const std::size_t sepStart = i;
        while (i < n && paragraph[i] == ' ') ++i;
        const std::string_view sep = paragraph.substr(sepStart, i - sepStart);
        const std::size_t wordStart = i;
        while (i < n && paragraph[i] != ' ') ++i;
        const std::string_view word = paragraph.substr(wordStart, i - wordStart);
        if (word.empty()) break;  // trailing spaces
        if (!started) {
            line.assign(sep);  // spaces that open the paragraph stay
            line += word;
            started = true;
            continue;
        }
        std::string candidate = line;
        candidate += sep;
        candidate += word;
        if (measure(candidate) <= width) {
            line = std::move(candidate);
        } else {
            out.push_back(std::move(line));
            line.assign(word);
        }
    }
    out.push_back(std::move(line));
}

bool startsCharacter(char c) {
    return (static_cast<unsigned char>(c) & 0xC0u) != 0x80u;
}

// The longest start of line (cut between whole UTF-8 characters) that fits with the ellipsis.
std::string ellipsize(std::string_view line, int width, const MeasureText& measure) {
    if (measure(line) <= width) return std::string(line);
    std::vector<std::size_t> cuts{0};
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (startsCharacter(line[i])) cuts.push_back(i);
    }
    auto withEllipsis = [&](std::size_t cut) {
        std::string s(line.substr(0, cut));
        s += kEllipsis;
        return s;
    };
    // Binary search over the cuts: the widths grow with the length of the start.
    std::size_t lo = 0;  // cuts[lo] is known to fit (the empty start is accepted regardless)
    std::size_t hi = cuts.size();
    while (hi - lo > 1) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (measure(withEllipsis(cuts[mid])) <= width) {
            lo = mid;
        } else {
            hi = mid;
        }
    }
    return withEllipsis(cuts[lo]);
}

}  // namespace

std::vector<std::string> layoutLines(std::string_view text, int width, WordWrapMode mode,
                                     const MeasureText& measure) {
    std::vector<std::string> out;
    if (text.empty()) return out;
    for (std::string_view paragraph : splitParagraphs(text)) {
        switch (mode) {
            case WordWrapMode::Wrap:
                wrap(paragraph, width, measure, out);
                break;
            case WordWrapMode::Ellipsis:
                out.push_back(ellipsize(paragraph, width, measure));
                break;
            case WordWrapMode::Clip:
            case WordWrapMode::WrapNotSet:
                out.emplace_back(paragraph);
                break;
        }
    }
    return out;
}

}  // namespace fruvana
