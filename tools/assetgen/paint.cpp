#include "tools/assetgen/paint.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>

#include "tools/assetgen/language.h"
#include "tools/font_face.h"

namespace fruvana::assetgen {

namespace {

constexpr double kPi = 3.14159265358979323846;

cairo_font_face_t* loadFace(FontStyle style) {
    std::string family;
    cairo_font_face_t* face = tools::liberationSansFace(
        FC_WEIGHT_BOLD, style == FontStyle::BoldItalic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN, family);
    if (face == nullptr || family != "Liberation Sans") {
        if (face != nullptr) cairo_font_face_destroy(face);
        // Another family would change every label, so the pictures would no longer
        // match the committed ones.
        throw std::runtime_error("the font Liberation Sans (fonts-liberation2) is not installed");
    }
    return face;
}

std::array<cairo_font_face_t*, 2> gFaces{};

cairo_font_face_t* face(FontStyle style) {
    cairo_font_face_t*& slot = gFaces[style == FontStyle::Bold ? 0 : 1];
    if (slot == nullptr) slot = loadFace(style);
    return slot;
}

void addStop(cairo_pattern_t* p, double offset, Rgb c, double alpha = 1.0) {
    cairo_pattern_add_color_stop_rgba(p, offset, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}

cairo_pattern_t* withStops(cairo_pattern_t* p, std::initializer_list<ColourStop> stops) {
    for (const ColourStop& s : stops)
        cairo_pattern_add_color_stop_rgba(p, s.offset, s.r, s.g, s.b, s.a);
    return p;
}

// ----- reel symbols, drawn in a 122 x 122 design square -----

void barPlates(cairo_t* cr, int count, Rgb edge) {
    const double plateH = count == 1 ? 42 : count == 2 ? 32 : 27;
    const double gap = count == 1 ? 0 : count == 2 ? 7 : 5;
    const double total = count * plateH + (count - 1) * gap;
    double y = 61 - total / 2;
    for (int i = 0; i < count; ++i, y += plateH + gap) {
        // drop shadow
        roundedRect(cr, 15, y + 3, 96, plateH, 7);
        setColor(cr, Rgb{0, 0, 0}, 0.25);
        cairo_fill(cr);
        roundedRect(cr, 12, y, 98, plateH, 7);
        cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + plateH);
        addStop(p, 0, Rgb{70, 70, 76});
        addStop(p, 0.45, Rgb{22, 22, 26});
        addStop(p, 1, Rgb{8, 8, 10});
        fillWith(cr, p);
        roundedRect(cr, 14.5, y + 2.5, 93, plateH - 5, 5);
        setColor(cr, edge);
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
        selectFont(cr, FontStyle::Bold, plateH * 0.66);
        cairo_text_extents_t ext;
        cairo_text_extents(cr, "BAR", &ext);
        const double baseline = y + plateH / 2 + ext.height / 2;
        textPath(cr, "BAR", 61, baseline, Align::Centre);
        setColor(cr, Rgb{255, 255, 255});
        cairo_fill(cr);
    }
}

void bell(cairo_t* cr) {
    // handle knob
    cairo_new_path(cr);
    cairo_arc(cr, 61, 20, 8, 0, 2 * kPi);
    setColor(cr, Rgb{150, 95, 10});
    cairo_fill(cr);
    // clapper
    cairo_arc(cr, 61, 98, 11, 0, 2 * kPi);
    cairo_pattern_t* c = cairo_pattern_create_radial(57, 94, 1, 61, 98, 11);
    addStop(c, 0, Rgb{255, 230, 140});
    addStop(c, 1, Rgb{160, 100, 10});
    fillWith(cr, c);
    // body
    cairo_new_path(cr);
    cairo_move_to(cr, 61, 24);
    cairo_curve_to(cr, 88, 24, 90, 48, 91, 64);
    cairo_curve_to(cr, 92, 78, 100, 84, 108, 90);
    cairo_curve_to(cr, 108, 96, 14, 96, 14, 90);
    cairo_curve_to(cr, 22, 84, 30, 78, 31, 64);
    cairo_curve_to(cr, 32, 48, 34, 24, 61, 24);
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(20, 0, 104, 0);
    addStop(p, 0, Rgb{190, 120, 10});
    addStop(p, 0.3, Rgb{255, 236, 120});
    addStop(p, 0.55, Rgb{250, 200, 40});
    addStop(p, 1, Rgb{170, 100, 0});
    fillWith(cr, p, true);
    setColor(cr, Rgb{110, 60, 0});
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    // rim
    ellipse(cr, 61, 91, 47, 6);
    setColor(cr, Rgb{200, 130, 10});
    cairo_fill_preserve(cr);
    setColor(cr, Rgb{110, 60, 0});
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    // shine
    cairo_move_to(cr, 44, 38);
    cairo_curve_to(cr, 40, 50, 40, 66, 34, 80);
    cairo_set_line_width(cr, 5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    setColor(cr, Rgb{255, 255, 230}, 0.8);
    cairo_stroke(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

void seven(cairo_t* cr, Rgb light, Rgb dark, Rgb outline) {
    selectFont(cr, FontStyle::BoldItalic, 118);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, "7", &ext);
    const double x = 61 - ext.x_bearing - ext.width / 2;
    const double y = 61 - ext.y_bearing - ext.height / 2;
    cairo_new_path(cr);
    cairo_move_to(cr, x + 3, y + 3);
    cairo_text_path(cr, "7");
    setColor(cr, Rgb{0, 0, 0}, 0.22);
    cairo_fill(cr);
    cairo_move_to(cr, x, y);
    cairo_text_path(cr, "7");
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, 7);
    setColor(cr, outline);
    cairo_stroke_preserve(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 8, 0, 114);
    addStop(p, 0, light);
    addStop(p, 0.5, dark);
    addStop(p, 1, light);
    fillWith(cr, p, true);
    // a thin bright inner line gives the figure its enamel look
    cairo_set_line_width(cr, 1.5);
    setColor(cr, Rgb{255, 255, 255}, 0.55);
    cairo_stroke(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
}

void leaf(cairo_t* cr, double x, double y, double angle, double len) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle);
    cairo_new_path(cr);
    cairo_move_to(cr, 0, 0);
    cairo_curve_to(cr, len * 0.3, -len * 0.45, len * 0.8, -len * 0.35, len, 0);
    cairo_curve_to(cr, len * 0.8, len * 0.35, len * 0.3, len * 0.45, 0, 0);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, -len * 0.4, 0, len * 0.4);
    addStop(p, 0, Rgb{120, 200, 70});
    addStop(p, 1, Rgb{30, 110, 30});
    fillWith(cr, p, true);
    setColor(cr, Rgb{20, 80, 20});
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    cairo_move_to(cr, 2, 0);
    cairo_line_to(cr, len * 0.85, 0);
    setColor(cr, Rgb{20, 90, 20}, 0.8);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void grapes(cairo_t* cr) {
    cairo_move_to(cr, 60, 26);
    cairo_curve_to(cr, 60, 18, 64, 12, 70, 8);
    setColor(cr, Rgb{100, 60, 20});
    cairo_set_line_width(cr, 4);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    leaf(cr, 64, 18, -0.35, 34);
    struct Berry {
        double x, y;
    };
    constexpr std::array<Berry, 13> berries = {{{33, 38},
                                                {52, 36},
                                                {71, 36},
                                                {90, 38},
                                                {42, 55},
                                                {61, 54},
                                                {80, 55},
                                                {35, 72},
                                                {52, 72},
                                                {70, 72},
                                                {87, 72},
                                                {52, 89},
                                                {70, 89}}};
    for (const Berry& b : berries)
        glossyBall(cr, b.x, b.y, 11.5, {214, 150, 240}, {130, 50, 170}, {55, 10, 80});
    glossyBall(cr, 61, 104, 11, {214, 150, 240}, {130, 50, 170}, {55, 10, 80});
}

void cherries(cairo_t* cr) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 4);
    setColor(cr, Rgb{60, 110, 30});
    cairo_move_to(cr, 38, 76);
    cairo_curve_to(cr, 44, 50, 58, 28, 74, 16);
    cairo_stroke(cr);
    cairo_move_to(cr, 86, 80);
    cairo_curve_to(cr, 86, 52, 80, 30, 74, 16);
    cairo_stroke(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    leaf(cr, 74, 16, -0.5, 32);
    glossyBall(cr, 37, 88, 21, {255, 160, 160}, {220, 20, 40}, {110, 0, 10});
    glossyBall(cr, 85, 90, 21, {255, 160, 160}, {220, 20, 40}, {110, 0, 10});
}

void melon(cairo_t* cr) {
    // a slice of watermelon, flat edge up, slightly tilted
    cairo_save(cr);
    cairo_translate(cr, 61, 40);
    cairo_rotate(cr, -0.12);
    const double r = 52;
    cairo_new_path(cr);
    cairo_arc(cr, 0, 6, r, 0, kPi);
    cairo_close_path(cr);
    setColor(cr, Rgb{0, 0, 0}, 0.2);
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0, r, 0, kPi);
    cairo_close_path(cr);
    cairo_pattern_t* rind = cairo_pattern_create_radial(0, 0, r - 10, 0, 0, r);
    addStop(rind, 0, Rgb{90, 180, 60});
    addStop(rind, 1, Rgb{20, 100, 30});
    fillWith(cr, rind);
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0, r - 7, 0, kPi);
    cairo_close_path(cr);
    setColor(cr, Rgb{236, 250, 210});
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0, r - 11, 0, kPi);
    cairo_close_path(cr);
    cairo_pattern_t* flesh = cairo_pattern_create_radial(0, 0, 4, 0, 0, r - 11);
    addStop(flesh, 0, Rgb{255, 90, 90});
    addStop(flesh, 1, Rgb{225, 30, 50});
    fillWith(cr, flesh);
    // the cut face catches the light
    cairo_rectangle(cr, -r, -2, 2 * r, 3);
    setColor(cr, Rgb{255, 170, 170}, 0.8);
    cairo_fill(cr);
    struct Seed {
        double x, y;
    };
    constexpr std::array<Seed, 7> seeds = {
        {{-26, 12}, {-10, 14}, {8, 14}, {24, 12}, {-18, 27}, {0, 30}, {17, 27}}};
    for (const Seed& s : seeds) {
        ellipse(cr, s.x, s.y, 3, 5);
        setColor(cr, Rgb{30, 20, 20});
        cairo_fill(cr);
    }
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0, r, 0, kPi);
    cairo_close_path(cr);
    setColor(cr, Rgb{15, 70, 20});
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    cairo_restore(cr);
}

}  // namespace

void releaseFonts() {
    for (cairo_font_face_t*& f : gFaces) {
        if (f != nullptr) cairo_font_face_destroy(f);
        f = nullptr;
    }
    cairo_debug_reset_static_data();
    FcFini();
}

ColourStop stop(double offset, Rgb c, double alpha) {
    return {offset, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha};
}

void shadedBand(cairo_t* cr, double x, double y, double w, double h, Rgb top, Rgb bottom,
                double ruleY, Rgb rule, double ruleWidth) {
    cairo_rectangle(cr, x, y, w, h);
    fillWith(cr, linear(0, y, 0, y + h, {stop(0, top), stop(1, bottom)}));
    cairo_move_to(cr, x, ruleY + 0.5);
    cairo_line_to(cr, x + w, ruleY + 0.5);
    setColor(cr, rule);
    cairo_set_line_width(cr, ruleWidth);
    cairo_stroke(cr);
}

cairo_pattern_t* linear(double x0, double y0, double x1, double y1,
                        std::initializer_list<ColourStop> stops) {
    return withStops(cairo_pattern_create_linear(x0, y0, x1, y1), stops);
}

cairo_pattern_t* radial(double cx0, double cy0, double r0, double cx1, double cy1, double r1,
                        std::initializer_list<ColourStop> stops) {
    return withStops(cairo_pattern_create_radial(cx0, cy0, r0, cx1, cy1, r1), stops);
}

void fillWith(cairo_t* cr, cairo_pattern_t* p, bool preserve) {
    cairo_set_source(cr, p);
    if (preserve)
        cairo_fill_preserve(cr);
    else
        cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void setColor(cairo_t* cr, Rgb c, double alpha) {
    cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = std::min({r, w / 2, h / 2});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
    cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
    cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

void pill(cairo_t* cr, double x, double y, double w, double h) {
    roundedRect(cr, x, y, w, h, h / 2);
}

void ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_restore(cr);
}

double hashNoise(int x, int y, std::uint32_t seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u +
                      static_cast<std::uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<double>(h & 0xffffffu) / 16777216.0;
}

void selectFont(cairo_t* cr, FontStyle style, double size) {
    cairo_set_font_face(cr, face(style));
    cairo_set_font_size(cr, size);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

void textPath(cairo_t* cr, std::string_view text, double x, double y, Align align) {
    const std::string s(text);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, s.c_str(), &ext);
    double left = x;
    if (align == Align::Centre) left = x - ext.x_bearing - ext.width / 2;
    if (align == Align::Right) left = x - ext.x_bearing - ext.width;
    cairo_move_to(cr, left, y);
    cairo_text_path(cr, s.c_str());
}

void engrave(cairo_t* cr, std::string_view text, double x, double y, Align align, Rgb color,
             double shadowAlpha) {
    cairo_new_path(cr);
    textPath(cr, text, x + 1, y + 1, align);
    setColor(cr, Rgb{255, 255, 255}, shadowAlpha);
    if (color.r + color.g + color.b > 380) setColor(cr, Rgb{0, 0, 0}, shadowAlpha);
    cairo_fill(cr);
    textPath(cr, text, x, y, align);
    setColor(cr, color);
    cairo_fill(cr);
}

void brushedMetal(Canvas& canvas, std::uint32_t seed) {
    canvas.flush();
    const int w = canvas.width();
    const int h = canvas.height();
    for (int y = 0; y < h; ++y) {
        const double light = 184.0 - 44.0 * y / std::max(1, h - 1);
        const double streak =
            (hashNoise(0, y, seed) + hashNoise(0, y + 1, seed) + hashNoise(1, y, seed) - 1.5) * 7.0;
        for (int x = 0; x < w; ++x) {
            // long horizontal brush marks: noise interpolated along the row
            const int cell = x / 37;
            const double t = (x % 37) / 37.0;
            const double s = t * t * (3 - 2 * t);
            const double along =
                (hashNoise(cell, y, seed + 7) * (1 - s) + hashNoise(cell + 1, y, seed + 7) * s) -
                0.5;
            const double grain = hashNoise(x, y, seed + 13) - 0.5;
            const double v = light + streak + along * 9.0 + grain * 4.0;
            auto clamp = [](double c) {
                return static_cast<std::uint8_t>(std::clamp(std::lround(c), 1L, 254L));
            };
            canvas.setPixel(x, y, {clamp(v - 7), clamp(v - 3), clamp(v + 3)});
        }
    }
    canvas.markDirty();
}

void bevelFrame(cairo_t* cr, double x, double y, double w, double h, double r, double width,
                bool sunken) {
    cairo_new_path(cr);
    roundedRect(cr, x - width / 2, y - width / 2, w + width, h + width, r + width / 2);
    cairo_pattern_t* p = cairo_pattern_create_linear(x, y, x + w * 0.25, y + h);
    const Rgb light{246, 248, 252};
    const Rgb dark{54, 58, 66};
    addStop(p, 0, sunken ? dark : light);
    addStop(p, 1, sunken ? light : dark);
    cairo_set_source(cr, p);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
    cairo_pattern_destroy(p);
}

void meterWindow(cairo_t* cr, double x, double y, double w, double h, Rgb inside) {
    roundedRect(cr, x - 5, y - 5, w + 10, h + 10, 5);
    setColor(cr, kTrimBlue);
    cairo_fill(cr);
    bevelFrame(cr, x - 5, y - 5, w + 10, h + 10, 5, 2, false);
    cairo_rectangle(cr, x - 1, y - 1, w + 2, h + 2);
    setColor(cr, Rgb{6, 16, 34});
    cairo_fill(cr);
    cairo_rectangle(cr, x, y, w, h);
    setColor(cr, inside);
    cairo_fill(cr);
}

void buttonSocket(cairo_t* cr, double cx, double cy, double radius) {
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, radius + 2, 0, 2 * kPi);
    cairo_pattern_t* p = cairo_pattern_create_linear(cx, cy - radius, cx, cy + radius);
    addStop(p, 0, Rgb{40, 44, 50});
    addStop(p, 1, Rgb{120, 124, 132});
    fillWith(cr, p);
    cairo_arc(cr, cx, cy, radius - 1, 0, 2 * kPi);
    setColor(cr, Rgb{14, 18, 22});
    cairo_fill(cr);
}

void glossyBall(cairo_t* cr, double cx, double cy, double r, Rgb light, Rgb mid, Rgb dark) {
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    cairo_pattern_t* p =
        cairo_pattern_create_radial(cx - 0.35 * r, cy - 0.4 * r, 0.05 * r, cx, cy, r);
    addStop(p, 0, light);
    addStop(p, 0.45, mid);
    addStop(p, 1, dark);
    fillWith(cr, p);
    // the window reflection
    ellipse(cr, cx - 0.3 * r, cy - 0.42 * r, 0.38 * r, 0.24 * r);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, cy - 0.66 * r, 0, cy - 0.18 * r);
    addStop(g, 0, Rgb{255, 255, 255}, 0.85);
    addStop(g, 1, Rgb{255, 255, 255}, 0.05);
    fillWith(cr, g);
}

void pushButton(cairo_t* cr, double cx, double cy, double radius, ButtonMark mark,
                ButtonFinish finish) {
    const bool muted = finish == ButtonFinish::Muted;
    const double r = radius;
    // shadow falling down and right
    cairo_new_path(cr);
    cairo_arc(cr, cx + 2.5, cy + 3.5, r + 3, 0, 2 * kPi);
    cairo_pattern_t* shadow =
        cairo_pattern_create_radial(cx + 2.5, cy + 3.5, r - 4, cx + 2.5, cy + 3.5, r + 3);
    addStop(shadow, 0, Rgb{0, 0, 0}, 0.6);
    addStop(shadow, 1, Rgb{0, 0, 0}, 0);
    fillWith(cr, shadow);
    // chrome bezel
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    cairo_pattern_t* bezel = cairo_pattern_create_linear(cx - r, cy - r, cx + r * 0.6, cy + r);
    addStop(bezel, 0, muted ? Rgb{150, 154, 160} : Rgb{250, 252, 255});
    addStop(bezel, 0.5, muted ? Rgb{70, 74, 80} : Rgb{150, 156, 164});
    addStop(bezel, 1, muted ? Rgb{30, 32, 36} : Rgb{60, 64, 72});
    fillWith(cr, bezel);
    const double face = r * (muted ? 0.72 : 0.82);
    cairo_arc(cr, cx, cy, face + 1.2, 0, 2 * kPi);
    setColor(cr, Rgb{10, 30, 16});
    cairo_fill(cr);
    // the dome
    cairo_arc(cr, cx, cy, face, 0, 2 * kPi);
    cairo_pattern_t* dome =
        cairo_pattern_create_radial(cx - face * 0.3, cy - face * 0.35, face * 0.1, cx, cy, face);
    addStop(dome, 0, muted ? Rgb{62, 96, 72} : Rgb{90, 190, 110});
    addStop(dome, 0.45, muted ? Rgb{22, 50, 32} : Rgb{22, 110, 52});
    addStop(dome, 1, muted ? Rgb{4, 18, 10} : Rgb{4, 42, 20});
    fillWith(cr, dome);
    // the mark, light on the dark green
    const Rgb ink = muted ? Rgb{168, 180, 170} : Rgb{236, 244, 228};
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    const double u = face / 10.0;
    auto strokeMark = [&](auto&& path) {
        cairo_save(cr);
        cairo_translate(cr, 0.8, 1.0);
        path();
        setColor(cr, Rgb{0, 20, 8}, 0.7);
        cairo_set_line_width(cr, 2.4 * u);
        cairo_stroke(cr);
        cairo_restore(cr);
        path();
        setColor(cr, ink);
        cairo_set_line_width(cr, 2.4 * u);
        cairo_stroke(cr);
    };
    switch (mark) {
        case ButtonMark::Help:
        case ButtonMark::Exit:
        case ButtonMark::Coin:
        case ButtonMark::Ok: {
            // The face's word shrinks to fit, whatever its language.
            const std::string word = mark == ButtonMark::Help   ? words("HELP")
                                     : mark == ButtonMark::Exit ? words("EXIT")
                                     : mark == ButtonMark::Coin ? words("COIN")
                                                                : words("OK");
            const char* text = word.c_str();
            selectFont(cr, FontStyle::Bold, 20);
            cairo_text_extents_t ext;
            cairo_text_extents(cr, text, &ext);
            const double size = std::min(20.0 * (face * 1.5) / ext.width, face * 0.8);
            selectFont(cr, FontStyle::Bold, size);
            cairo_text_extents(cr, text, &ext);
            const double baseline = cy - ext.y_bearing - ext.height / 2;
            cairo_new_path(cr);
            textPath(cr, text, cx + 0.8, baseline + 1, Align::Centre);
            setColor(cr, Rgb{0, 20, 8}, 0.75);
            cairo_fill(cr);
            textPath(cr, text, cx, baseline, Align::Centre);
            setColor(cr, ink);
            cairo_fill(cr);
            break;
        }
        case ButtonMark::Left:
            strokeMark([&] {
                cairo_move_to(cr, cx + 2 * u, cy - 4.5 * u);
                cairo_line_to(cr, cx - 2.5 * u, cy);
                cairo_line_to(cr, cx + 2 * u, cy + 4.5 * u);
            });
            break;
        case ButtonMark::Right:
            strokeMark([&] {
                cairo_move_to(cr, cx - 2 * u, cy - 4.5 * u);
                cairo_line_to(cr, cx + 2.5 * u, cy);
                cairo_line_to(cr, cx - 2 * u, cy + 4.5 * u);
            });
            break;
        case ButtonMark::Ring:
            strokeMark([&] {
                cairo_new_sub_path(cr);
                cairo_arc(cr, cx, cy, 4.4 * u, 0, 2 * kPi);
            });
            break;
        case ButtonMark::Tilde:
            strokeMark([&] {
                cairo_move_to(cr, cx - 5 * u, cy + 1.2 * u);
                cairo_curve_to(cr, cx - 3 * u, cy - 4 * u, cx - 0.5 * u, cy - 1.5 * u, cx, cy);
                cairo_curve_to(cr, cx + 0.5 * u, cy + 1.5 * u, cx + 3 * u, cy + 4 * u, cx + 5 * u,
                               cy - 1.2 * u);
            });
            break;
        case ButtonMark::List:
            strokeMark([&] {
                for (const double dy : {-3.5, 0.0, 3.5}) {
                    cairo_move_to(cr, cx - 4.5 * u, cy + dy * u);
                    cairo_line_to(cr, cx + 4.5 * u, cy + dy * u);
                }
            });
            break;
        case ButtonMark::Play: {
            auto tri = [&](double dx, double dy) {
                cairo_move_to(cr, cx - 3 * u + dx, cy - 5 * u + dy);
                cairo_line_to(cr, cx + 5 * u + dx, cy + dy);
                cairo_line_to(cr, cx - 3 * u + dx, cy + 5 * u + dy);
                cairo_close_path(cr);
            };
            tri(0.8, 1.0);
            setColor(cr, Rgb{0, 20, 8}, 0.7);
            cairo_fill(cr);
            tri(0, 0);
            setColor(cr, ink);
            cairo_fill(cr);
            break;
        }
    }
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    // gloss over the upper half of the dome
    cairo_save(cr);
    cairo_arc(cr, cx, cy, face, 0, 2 * kPi);
    cairo_clip(cr);
    ellipse(cr, cx, cy - face * 0.5, face * 0.78, face * 0.5);
    cairo_pattern_t* gloss = cairo_pattern_create_linear(0, cy - face, 0, cy - face * 0.05);
    addStop(gloss, 0, Rgb{255, 255, 255}, muted ? 0.25 : 0.55);
    addStop(gloss, 1, Rgb{255, 255, 255}, 0.02);
    fillWith(cr, gloss);
    cairo_restore(cr);
}

void bluePanel(cairo_t* cr, double x, double y, double w, double h, double r) {
    roundedRect(cr, x + 3, y + 4, w, h, r);
    setColor(cr, Rgb{0, 0, 0}, 0.3);
    cairo_fill(cr);
    roundedRect(cr, x, y, w, h, r);
    fillWith(cr, linear(0, y, 0, y + h,
                        {{0, 28 / 255.0, 58 / 255.0, 118 / 255.0},
                         {1, 8 / 255.0, 20 / 255.0, 50 / 255.0}}));
    bevelFrame(cr, x, y, w, h, r, 3, false);
}

void frontSheen(cairo_t* cr) {
    cairo_pattern_t* sheen = cairo_pattern_create_linear(0, 0, 800, 600);
    cairo_pattern_add_color_stop_rgba(sheen, 0, 1, 1, 1, 0);
    cairo_pattern_add_color_stop_rgba(sheen, 0.42, 1, 1, 1, 0.10);
    cairo_pattern_add_color_stop_rgba(sheen, 0.5, 1, 1, 1, 0.0);
    cairo_pattern_add_color_stop_rgba(sheen, 0.62, 1, 1, 1, 0.06);
    cairo_pattern_add_color_stop_rgba(sheen, 1, 0, 0, 0, 0.10);
    cairo_set_source(cr, sheen);
    cairo_paint(cr);
    cairo_pattern_destroy(sheen);
}

void trimStroke(cairo_t* cr) {
    cairo_set_line_width(cr, 16);
    setColor(cr, Rgb{200, 206, 216});
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, 13);
    setColor(cr, kBrightTrim);
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, 4);
    setColor(cr, Rgb{228, 232, 240});
    cairo_stroke(cr);
}

void screw(cairo_t* cr, double x, double y) {
    cairo_new_path(cr);
    cairo_arc(cr, x, y, 4, 0, 2 * kPi);
    fillWith(cr, linear(x - 4, y - 4, x + 4, y + 4, {{0, 0.95, 0.96, 0.98}, {1, 0.35, 0.37, 0.4}}));
    cairo_move_to(cr, x - 2.6, y + 1.2);
    cairo_line_to(cr, x + 2.6, y - 1.2);
    setColor(cr, Rgb{50, 52, 58});
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
}

void payLineMarkers(cairo_t* cr, double left, double right, double y, double half, double depth) {
    for (int side = 0; side < 2; ++side) {
        const double x = side == 0 ? left : right;
        const double dir = side == 0 ? 1 : -1;
        cairo_move_to(cr, x, y - half);
        cairo_line_to(cr, x + dir * depth, y);
        cairo_line_to(cr, x, y + half);
        cairo_close_path(cr);
        setColor(cr, Rgb{240, 40, 30});
        cairo_fill(cr);
    }
}

void drawSymbol(cairo_t* cr, int symbol, double x, double y, double size) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, size / 122.0, size / 122.0);
    cairo_new_path(cr);
    switch (symbol) {
        case 1:
            barPlates(cr, 1, Rgb{220, 30, 30});
            break;
        case 2:
            bell(cr);
            break;
        case 3:
            seven(cr, Rgb{255, 240, 90}, Rgb{245, 170, 0}, Rgb{120, 60, 0});
            break;
        case 4:
            grapes(cr);
            break;
        case 5:
            barPlates(cr, 2, Rgb{40, 110, 230});
            break;
        case 6:
            barPlates(cr, 3, Rgb{30, 170, 70});
            break;
        case 7:
            seven(cr, Rgb{255, 110, 100}, Rgb{210, 10, 20}, Rgb{90, 0, 0});
            break;
        case 8:
            seven(cr, Rgb{120, 190, 255}, Rgb{20, 80, 220}, Rgb{0, 20, 90});
            break;
        case 9:
            cherries(cr);
            break;
        case 0:
        case 10:
            melon(cr);
            break;
        default:
            break;
    }
    cairo_restore(cr);
}

void drawSymbolCentred(cairo_t* cr, int symbol, double cx, double cy, double size, double fit) {
    // Measure what the symbol paints, at its design size, on a scratch mask with room around
    // the design square for parts that reach past it.
    constexpr int kRoom = 61;
    constexpr int kScratch = 122 + 2 * kRoom;
    cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, kScratch, kScratch);
    cairo_t* m = cairo_create(mask);
    drawSymbol(m, symbol, kRoom, kRoom, 122);
    cairo_destroy(m);
    cairo_surface_flush(mask);
    const unsigned char* data = cairo_image_surface_get_data(mask);
    const int stride = cairo_image_surface_get_stride(mask);
    int left = kScratch, top = kScratch, right = -1, bottom = -1;
    for (int y = 0; y < kScratch; ++y) {
        for (int x = 0; x < kScratch; ++x) {
            if (data[y * stride + x] == 0) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    cairo_surface_destroy(mask);
    if (right < 0) return;  // a symbol code that paints nothing
    const double inkW = right - left + 1;
    const double inkH = bottom - top + 1;
    const double scale = std::min(size / 122.0, fit / std::max(inkW, inkH));
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, scale, scale);
    cairo_translate(cr, -(left + inkW / 2), -(top + inkH / 2));
    drawSymbol(cr, symbol, kRoom, kRoom, 122);
    cairo_restore(cr);
}

void symbolTile(cairo_t* cr, int symbol, double cx, double cy, double side, double size,
                double fit) {
    roundedRect(cr, cx - side / 2, cy - side / 2, side, side, 6);
    setColor(cr, Rgb{255, 255, 255});
    cairo_fill_preserve(cr);
    setColor(cr, Rgb{6, 16, 40});
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    drawSymbolCentred(cr, symbol, cx, cy, size, fit);
}

}  // namespace fruvana::assetgen
