#pragma once
// Text for labels and the statistics grid: fonts found by family through the system's font
// lookup and drawn one line at a time into the game's own pictures. Works without a display,
// so the headless back end draws the same text as the real program.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/picture.h"

namespace fruvana {

// The two families the game's text asks for: one for its lines of text (the message line, the
// intro line, the recall's session line), one for its tables and the account. The lookup maps
// each to an installed family with the same metrics.
inline constexpr std::string_view kLineFamily = "Arial";
inline constexpr std::string_view kTableFamily = "MS Sans Serif";

struct FontRequest {
    std::string family = std::string(kLineFamily);
    int pixelHeight = 13;
    bool bold = false;
    bool italic = false;
    friend bool operator==(const FontRequest&, const FontRequest&) = default;
};

// One rendered line: a coverage value per pixel, 0 (nothing) to 255 (fully covered).
// Smooth text has values in between; plain text only 0 and 255.
struct TextMask {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> coverage;  // row-major, width x height
    std::uint8_t at(int x, int y) const {
        return coverage[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                        static_cast<std::size_t>(x)];
    }
};

class Font {
  public:
    // Finds and opens the font; null with a one-line reason in error when no installed font
    // answers the request or it cannot be opened.
    static std::shared_ptr<Font> open(const FontRequest& request, std::string& error);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    const FontRequest& request() const { return request_; }
    // The file the lookup chose.
    const std::string& path() const { return path_; }
    // Height of one line of text in pixels.
    int lineHeight() const;
    // Width in pixels of text drawn on one line (UTF-8).
    int measure(std::string_view text) const;
    // Renders text (UTF-8) on one line; smooth draws grey-scale anti-aliased edges. Empty text
    // gives an empty mask.
    TextMask render(std::string_view text, bool smooth) const;

  private:
    struct Impl;
    Font(FontRequest request, std::string path, std::unique_ptr<Impl> impl);
    FontRequest request_;
    std::string path_;
    std::unique_ptr<Impl> impl_;
};

// Blends colour into dst through the mask, the mask's top-left corner at (x, y), touching only
// pixels inside clip (and inside dst). Pixels with coverage 0 keep what was below.
void drawText(const TextMask& mask, Picture& dst, int x, int y, Rgb colour, const Rect& clip);

}  // namespace fruvana
