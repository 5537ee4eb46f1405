// The game's icon for menus, docks and the window title: the cabinet's navy and copper, a
// lit reel window with the red 7 of the reel strip on the pay line between its markers.

#include <cairo-svg.h>

#include <array>
#include <stdexcept>
#include <string>

#include "tools/assetgen/art.h"
#include "tools/assetgen/paint.h"

namespace fruvana::assetgen {

namespace {

constexpr double kUnits = 256;  // the icon is drawn on a 256 x 256 square, then scaled
constexpr Rgb kIconKey{255, 0, 255};

void badgeOutline(cairo_t* cr) {
    roundedRect(cr, 8, 8, 240, 240, 46);
}

void drawIcon(cairo_t* cr) {
    const Rgb copper{196, 112, 58};
    badgeOutline(cr);
    fillWith(cr, linear(0, 8, 0, 248,
                        {{0, 34 / 255.0, 58 / 255.0, 104 / 255.0},
                         {1, 9 / 255.0, 16 / 255.0, 38 / 255.0}}));
    badgeOutline(cr);
    setColor(cr, copper);
    cairo_set_line_width(cr, 10);
    cairo_stroke(cr);
    // the reel window, shaded like the drum
    roundedRect(cr, 50, 42, 156, 172, 16);
    fillWith(
        cr, linear(0, 42, 0, 214,
                   {{0, 0.55, 0.55, 0.57}, {0.45, 1, 1, 1}, {0.55, 1, 1, 1}, {1, 0.5, 0.5, 0.52}}));
    drawSymbol(cr, 7, 64, 64, 128);
    roundedRect(cr, 50, 42, 156, 172, 16);
    setColor(cr, copper);
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);
    payLineMarkers(cr, 36, 220, 128, 14, 20);
}

void check(cairo_status_t status, const std::string& what) {
    if (status != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error(what + ": " + cairo_status_to_string(status));
}

}  // namespace

Canvas windowIcon() {
    Canvas c(64, 64);
    cairo_t* cr = c.cr();
    cairo_save(cr);
    cairo_scale(cr, 64 / kUnits, 64 / kUnits);
    drawIcon(cr);
    cairo_restore(cr);
    c.flush();
    applySeeThrough(c, kIconKey, [](cairo_t* shape) {
        cairo_scale(shape, 64 / kUnits, 64 / kUnits);
        badgeOutline(shape);
    });
    return c;
}

void writeIcons(const std::filesystem::path& folder) {
    for (const int size : {48, 64, 128, 256}) {
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
        cairo_t* cr = cairo_create(surface);
        cairo_scale(cr, size / kUnits, size / kUnits);
        drawIcon(cr);
        cairo_destroy(cr);
        const std::string path = (folder / ("fruvana-" + std::to_string(size) + ".png")).string();
        const cairo_status_t written = cairo_surface_write_to_png(surface, path.c_str());
        cairo_surface_destroy(surface);
        check(written, path);
    }
    const std::string svg = (folder / "fruvana.svg").string();
    cairo_surface_t* surface = cairo_svg_surface_create(svg.c_str(), kUnits, kUnits);
    cairo_svg_surface_restrict_to_version(surface, CAIRO_SVG_VERSION_1_1);
    cairo_t* cr = cairo_create(surface);
    drawIcon(cr);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    const cairo_status_t status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    check(status, svg);
}

}  // namespace fruvana::assetgen
