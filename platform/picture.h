#pragma once
// The game's own picture: owned 24-bit pixels with direct row access. Everything the
// presentation draws is composed from these, and the back buffer is one of them too, so no
// drawing code needs to know what shows it on the screen.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace fruvana {

struct Rect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    bool empty() const { return w <= 0 || h <= 0; }
    bool contains(int px, int py) const { return px >= x && py >= y && px < x + w && py < y + h; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// The part of a that also lies in b (empty when they do not meet).
Rect intersect(const Rect& a, const Rect& b);

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Pixels are stored blue, green, red, the byte order of a 24-bit bitmap file; rows start on
// 4-byte boundaries like a bitmap's, and row 0 is the top row.
class Picture {
  public:
    static constexpr int kBytesPerPixel = 3;

    Picture() = default;
    // A black picture; a size that is not positive (or absurdly large) gives an empty one.
    Picture(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    int pitch() const { return pitch_; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    Rect bounds() const { return {0, 0, width_, height_}; }

    std::uint8_t* row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * pitch_; }
    const std::uint8_t* row(int y) const {
        return pixels_.data() + static_cast<std::size_t>(y) * pitch_;
    }
    std::uint8_t* data() { return pixels_.data(); }
    const std::uint8_t* data() const { return pixels_.data(); }

    // Unchecked single-pixel access for clarity where speed does not matter.
    Rgb pixel(int x, int y) const;
    void setPixel(int x, int y, Rgb colour);
    void fill(Rgb colour);
    void fill(const Rect& area, Rgb colour);

    friend bool operator==(const Picture&, const Picture&) = default;

  private:
    int width_ = 0;
    int height_ = 0;
    int pitch_ = 0;
    std::vector<std::uint8_t> pixels_;
};

// Copies the part `from` of src, unscaled, so that its top-left corner lands on (x, y) of dst.
// Whatever falls outside either picture is left out. With a see-through colour, source pixels
// of exactly that colour leave the destination as it was.
void blit(const Picture& src, const Rect& from, Picture& dst, int x, int y,
          std::optional<Rgb> seeThrough = std::nullopt);

// The whole of src at (x, y).
inline void blit(const Picture& src, Picture& dst, int x, int y,
                 std::optional<Rgb> seeThrough = std::nullopt) {
    blit(src, src.bounds(), dst, x, y, seeThrough);
}

// The colour a picture is drawn see-through with: its bottom-left pixel's.
std::optional<Rgb> bottomLeftColour(const Picture& picture);

}  // namespace fruvana
