#pragma once
// A 24-bit drawing surface backed by Cairo, with the pixel access the generator needs
// for the exact colours (see-through keys, digit pictures) and a 24-bit BMP writer.

#include <cairo.h>

#include <cstdint>
#include <filesystem>
#include <memory>

namespace fruvana::assetgen {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

class Canvas {
  public:
    Canvas(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    cairo_t* cr() const { return cr_.get(); }
    cairo_surface_t* surface() const { return surface_.get(); }

    // Direct pixel access; call flush() after Cairo drawing and markDirty() after pixel writes.
    Rgb pixel(int x, int y) const;
    void setPixel(int x, int y, Rgb c);
    void flush() const { cairo_surface_flush(surface_.get()); }
    void markDirty() const { cairo_surface_mark_dirty(surface_.get()); }

    // Copies a rectangle of another canvas onto this one at (dx, dy).
    void copyFrom(const Canvas& src, int sx, int sy, int w, int h, int dx, int dy);

    // Writes the picture as an uncompressed bottom-up 24-bit BMP.
    void writeBmp(const std::filesystem::path& path) const;

  private:
    struct SurfaceDeleter {
        void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
    };
    struct ContextDeleter {
        void operator()(cairo_t* c) const { cairo_destroy(c); }
    };
    int width_;
    int height_;
    std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface_;
    std::unique_ptr<cairo_t, ContextDeleter> cr_;
};

// A new canvas holding a copy of the rectangle (x, y, w, h) of another.
Canvas cropOf(const Canvas& from, int x, int y, int w, int h);

}  // namespace fruvana::assetgen
