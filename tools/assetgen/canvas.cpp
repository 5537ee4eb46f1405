#include "tools/assetgen/canvas.h"

#include <cstddef>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace fruvana::assetgen {

namespace {

void putLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// Bytes from the start of a Cairo RGB24 surface to pixel (x, y), in pointer arithmetic's width.
std::ptrdiff_t pixelOffset(int stride, int x, int y) {
    return std::ptrdiff_t{y} * stride + std::ptrdiff_t{x} * 4;
}

}  // namespace

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height)),
      cr_(cairo_create(surface_.get())) {
    if (cairo_surface_status(surface_.get()) != CAIRO_STATUS_SUCCESS ||
        cairo_status(cr_.get()) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot create a drawing surface");
    // A fresh image surface is all zeros; start from a defined white instead.
    cairo_set_source_rgb(cr_.get(), 1, 1, 1);
    cairo_paint(cr_.get());
}

Rgb Canvas::pixel(int x, int y) const {
    const unsigned char* data = cairo_image_surface_get_data(surface_.get());
    const int stride = cairo_image_surface_get_stride(surface_.get());
    std::uint32_t v = *reinterpret_cast<const std::uint32_t*>(data + pixelOffset(stride, x, y));
    return {static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v)};
}

void Canvas::setPixel(int x, int y, Rgb c) {
    unsigned char* data = cairo_image_surface_get_data(surface_.get());
    const int stride = cairo_image_surface_get_stride(surface_.get());
    *reinterpret_cast<std::uint32_t*>(data + pixelOffset(stride, x, y)) =
        0xff000000u | (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b;
}

void Canvas::copyFrom(const Canvas& src, int sx, int sy, int w, int h, int dx, int dy) {
    src.flush();
    flush();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) setPixel(dx + x, dy + y, src.pixel(sx + x, sy + y));
    markDirty();
}

Canvas cropOf(const Canvas& from, int x, int y, int w, int h) {
    Canvas c(w, h);
    c.copyFrom(from, x, y, w, h, 0, 0);
    return c;
}

void Canvas::writeBmp(const std::filesystem::path& path) const {
    flush();
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(width_) * 3 + 3) & ~3u;
    const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(height_);
    std::vector<std::uint8_t> out;
    out.reserve(54 + imageBytes);
    out.push_back('B');
    out.push_back('M');
    putLe(out, 54 + imageBytes, 4);
    putLe(out, 0, 4);
    putLe(out, 54, 4);
    putLe(out, 40, 4);
    putLe(out, static_cast<std::uint32_t>(width_), 4);
    putLe(out, static_cast<std::uint32_t>(height_), 4);
    putLe(out, 1, 2);
    putLe(out, 24, 2);
    putLe(out, 0, 4);  // no compression
    putLe(out, imageBytes, 4);
    putLe(out, 2835, 4);  // 72 dots per inch
    putLe(out, 2835, 4);
    putLe(out, 0, 4);
    putLe(out, 0, 4);
    for (int y = height_ - 1; y >= 0; --y) {
        for (int x = 0; x < width_; ++x) {
            Rgb c = pixel(x, y);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
        }
        for (std::uint32_t pad = static_cast<std::uint32_t>(width_) * 3; pad < rowBytes; ++pad)
            out.push_back(0);
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    if (!file) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace fruvana::assetgen
