#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <vector>

#include "presentation/cabinet_layout.h"
#include "tools/assetgen/art.h"
#include "tools/assetgen/language.h"
#include "tools/assetgen/paint.h"

namespace fruvana::assetgen {

namespace L = fruvana::layout;

namespace {

constexpr double kPi = 3.14159265358979323846;

// ----- background tile -----

Canvas makeFond() {
    Canvas c(L::kTile, L::kTile);
    c.flush();
    const double k = 2 * kPi / L::kTile;
    for (int y = 0; y < L::kTile; ++y) {
        for (int x = 0; x < L::kTile; ++x) {
            // whole periods across the tile in both directions, so the tiles meet seamlessly
            const double phase = 3 * k * (x + y) + 1.3 * std::sin(k * (x - y)) +
                                 0.35 * std::sin(2 * k * (2 * x + y));
            const double wave = 0.5 + 0.5 * std::sin(phase);
            const double crest = std::pow(wave, 10.0);
            const double v = 0.18 + 0.42 * wave * wave + 0.4 * crest;
            auto mix = [&](double lo, double hi) {
                return static_cast<std::uint8_t>(
                    std::clamp(std::lround(lo + (hi - lo) * v), 0L, 255L));
            };
            c.setPixel(x, y, {mix(5, 24), mix(8, 38), mix(18, 80)});
        }
    }
    c.markDirty();
    return c;
}

// ----- reel strip and blur frames -----

// Deliberate: every symbol is centred in its cell by what it actually paints, and kept clear of
// the cell's edges, so no leaf or shadow is cut at a cell boundary and the drum shading, which
// darkens by distance from the cell's middle, treats every symbol alike.
constexpr double kSymbolFit = 106;

Canvas makeReelStrip() {
    Canvas c(L::kReel.w, L::kReel.h * 12);
    cairo_t* cr = c.cr();
    for (int cell = 1; cell <= 10; ++cell)
        drawSymbolCentred(cr, cell, 61, cell * 122 + 61, 122, kSymbolFit);
    // The band closes on itself: above the single bar sits the melon, below the melon the bar.
    c.copyFrom(c, 0, 10 * 122, 122, 122, 0, 0);
    c.copyFrom(c, 0, 1 * 122, 122, 122, 0, 11 * 122);
    return c;
}

constexpr int kBandRows = 10 * 122;  // cells 1 to 10 form the closed band
constexpr int kSmear = 46;           // rows the band moves while one frame is seen
constexpr double kBlurStrength = 0.85;

// Weight of the k-th row of a smear: soft at both ends, like a band turning past a window.
double smearWeight(int k) {
    return std::min(k + 1, kSmear - k);
}

// A frame of the band rushing past: every pixel is the strip's own colour averaged over the
// rows that pass it during the frame (a vertical motion blur), lightened a little towards white.
Canvas makeBlur(const Canvas& strip, int startRow) {
    Canvas c(L::kReel.w, L::kReel.h);
    strip.flush();
    for (int y = 0; y < 122; ++y) {
        for (int x = 0; x < 122; ++x) {
            double sum[3] = {0, 0, 0};
            double weights = 0;
            for (int k = 0; k < kSmear; ++k) {
                const Rgb p = strip.pixel(x, 122 + (startRow + y + k) % kBandRows);
                const double w = smearWeight(k);
                sum[0] += w * p.r;
                sum[1] += w * p.g;
                sum[2] += w * p.b;
                weights += w;
            }
            auto fade = [&](double v) {
                const double out = 255.0 - (255.0 - v / weights) * kBlurStrength;
                return static_cast<std::uint8_t>(std::clamp(std::lround(out), 0L, 255L));
            };
            c.setPixel(x, y, {fade(sum[0]), fade(sum[1]), fade(sum[2])});
        }
    }
    c.markDirty();
    return c;
}

// The average brightness a blur frame starting at the given band row would have.
double blurBrightness(const std::vector<double>& rowSums, int startRow) {
    double total = 0;
    double weights = 0;
    for (int y = 0; y < 122; ++y) {
        for (int k = 0; k < kSmear; ++k) {
            const double w = smearWeight(k);
            total += w * rowSums[static_cast<std::size_t>((startRow + y + k) % kBandRows)];
            weights += w;
        }
    }
    return total / weights;
}

// Deliberate: the second frame starts where its brightness comes closest to the first's, half
// a band away, so the swap of the two frames every 30 ms does not flicker.
std::array<int, 2> blurStarts(const Canvas& strip) {
    strip.flush();
    std::vector<double> rowSums(kBandRows, 0.0);
    for (int row = 0; row < kBandRows; ++row)
        for (int x = 0; x < 122; ++x) {
            const Rgb p = strip.pixel(x, 122 + row);
            rowSums[static_cast<std::size_t>(row)] += p.r + p.g + p.b;
        }
    const int first = 3 * 122 + 20;
    const double want = blurBrightness(rowSums, first);
    int best = first + kBandRows / 2;
    double bestGap = 1e300;
    for (int start = first + 4 * 122; start < first + 7 * 122; start += 2) {
        const double gap = std::fabs(blurBrightness(rowSums, start % kBandRows) - want);
        if (gap < bestGap) {
            bestGap = gap;
            best = start % kBandRows;
        }
    }
    return {first, best};
}

Canvas makeWhite() {
    return Canvas(L::kReel.w, L::kReel.h);
}

// ----- meter digits -----

// Segments of a blocky digit: top, upper left, upper right, middle, lower left, lower right,
// bottom.
constexpr std::array<std::uint8_t, 10> kSegments = {0b1110111, 0b0100100, 0b1011101, 0b1101101,
                                                    0b0101110, 0b1101011, 0b1111011, 0b0100101,
                                                    0b1111111, 0b1101111};

Canvas makeDigits() {
    Canvas c(130, 18);
    c.flush();
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 130; ++x) c.setPixel(x, y, {0, 0, 0});
    std::array<std::array<bool, 18>, 130> on{};
    for (int d = 0; d < 10; ++d) {
        const int x0 = 13 * d + 2;
        const int x1 = x0 + 7;  // right column's first pixel: figures are 9 wide
        const int y0 = 2, ym = 8, y1 = 14;
        auto fill = [&](int ax, int ay, int bx, int by) {
            for (int y = ay; y <= by; ++y)
                for (int x = ax; x <= bx; ++x)
                    on[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] = true;
        };
        const std::uint8_t s = kSegments[static_cast<std::size_t>(d)];
        if (d == 1) {
            // a one reads better as a centred stroke with a flag and a foot
            fill(x0 + 4, y0, x0 + 5, y1 + 1);
            fill(x0 + 2, y0, x0 + 3, y0 + 1);
            fill(x0 + 2, y1, x0 + 7, y1 + 1);
            continue;
        }
        if (s & 0b0000001) fill(x0, y0, x1 + 1, y0 + 1);
        if (s & 0b0000010) fill(x0, y0, x0 + 1, ym + 1);
        if (s & 0b0000100) fill(x1, y0, x1 + 1, ym + 1);
        if (s & 0b0001000) fill(x0, ym, x1 + 1, ym + 1);
        if (s & 0b0010000) fill(x0, ym, x0 + 1, y1 + 1);
        if (s & 0b0100000) fill(x1, ym, x1 + 1, y1 + 1);
        if (s & 0b1000000) fill(x0, y1, x1 + 1, y1 + 1);
    }
    for (int y = 0; y < 18; ++y) {
        for (int x = 0; x < 130; ++x) {
            if (on[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)]) {
                c.setPixel(x, y, kOrange);
            } else {
                const bool left =
                    x > 0 && on[static_cast<std::size_t>(x - 1)][static_cast<std::size_t>(y)];
                const bool above =
                    y > 0 && on[static_cast<std::size_t>(x)][static_cast<std::size_t>(y - 1)];
                const bool diagonal =
                    x > 0 && y > 0 &&
                    on[static_cast<std::size_t>(x - 1)][static_cast<std::size_t>(y - 1)];
                if (left || above || diagonal) c.setPixel(x, y, {25, 25, 25});
            }
        }
    }
    c.markDirty();
    return c;
}

// ----- hold lamps -----

bool insidePill(int x, int y, int w, int h) {
    const double r = h / 2.0;
    const double px = x + 0.5;
    const double py = y + 0.5;
    if (px >= r && px <= w - r) return true;
    const double cx = px < r ? r : w - r;
    return (px - cx) * (px - cx) + (py - r) * (py - r) <= r * r;
}

// A row of round lamp dots across a pill-shaped window: a lit lamp glows with a halo on its
// ground, an unlit one is dim glass that still shows each bulb.
struct LampLook {
    Rgb ground;
    Rgb halo;
    Rgb centre;
    Rgb edge;
    Rgb edgeAlternate;  // every other dot
    double glint;       // strength of the small reflection on each dot
};

constexpr int kLampDots = 8;
constexpr double kLampPitch = 11.0;
constexpr double kLampDotRadius = 4.4;

Rgb mixRgb(Rgb a, Rgb b, double t) {
    auto m = [&](std::uint8_t x, std::uint8_t y) { return x + (y - x) * t; };
    auto c = [](double v) {
        // never the lamps' see-through blue nor pure black or white
        return static_cast<std::uint8_t>(std::clamp(std::lround(v), 1L, 254L));
    };
    return {c(m(a.r, b.r)), c(m(a.g, b.g)), c(m(a.b, b.b))};
}

// The form of a lamp's dots: round, or for players who do not tell red from green, square dots
// for one lit look and rings for the other, so the state reads from the shape alone.
enum class DotShape { Round, Square, Ring };

// How far a point at (dx, dy) from a dot's centre lies from its ink, measured as the round dot's
// distance from its centre: up to kLampDotRadius is inside.
double dotDistance(double dx, double dy, DotShape shape) {
    const double round = std::sqrt(dx * dx + dy * dy);
    switch (shape) {
        case DotShape::Square:
            return std::max(std::abs(dx), std::abs(dy)) * 1.15;
        case DotShape::Ring:
            // A band 2.2 pixels wide round a dark middle.
            return std::abs(round - 3.3) * 4.4 / 1.1;
        case DotShape::Round:
            break;
    }
    return round;
}

void paintLamp(Canvas& c, int ox, int oy, const LampLook& look, Rgb outside, bool paintOutside,
               DotShape shape = DotShape::Round) {
    const int w = L::kLamp.w;
    const int h = L::kLamp.h;
    const double firstDot = w / 2.0 - (kLampDots - 1) * kLampPitch / 2.0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!insidePill(x, y, w, h)) {
                if (paintOutside) c.setPixel(ox + x, oy + y, outside);
                continue;
            }
            const double px = x + 0.5;
            const double py = y + 0.5;
            const int i = static_cast<int>(
                std::clamp(std::lround((px - firstDot) / kLampPitch), 0L, kLampDots - 1L));
            const double dx = px - (firstDot + i * kLampPitch);
            const double dy = py - h / 2.0;
            const double d = dotDistance(dx, dy, shape);
            const double outsideDot = std::max(0.0, d - kLampDotRadius);
            const Rgb ground =
                mixRgb(look.ground, look.halo, std::exp(-outsideDot * outsideDot / 3));
            const Rgb edge = i % 2 == 0 ? look.edge : look.edgeAlternate;
            Rgb dot = mixRgb(look.centre, edge, std::min(1.0, d / kLampDotRadius));
            const double gx = dx + 1.4;
            const double gy = dy + 1.6;
            const double glint = look.glint * std::exp(-(gx * gx + gy * gy) / 0.9);
            dot = mixRgb(dot, Rgb{255, 255, 255}, glint);
            const double cover = std::clamp(kLampDotRadius + 0.5 - d, 0.0, 1.0);
            c.setPixel(ox + x, oy + y, mixRgb(ground, dot, cover));
        }
    }
}

Canvas makeLamp(bool green, DotShape shape = DotShape::Round) {
    Canvas c(L::kLamp.w, L::kLamp.h);
    c.flush();
    const LampLook red{{64, 10, 4},   {170, 40, 12},  {255, 236, 170},
                       {236, 48, 18}, {250, 128, 30}, 0.55};
    const LampLook grn{{6, 46, 12},   {40, 170, 56}, {226, 255, 210},
                       {40, 208, 64}, {96, 230, 80}, 0.55};
    paintLamp(c, 0, 0, green ? grn : red, kLampKey, true, shape);
    c.markDirty();
    return c;
}

// ----- the cabinet -----

void cabinetOutline(cairo_t* cr) {
    cairo_new_path(cr);
    cairo_move_to(cr, 18, 60);
    cairo_arc(cr, 34, 60, 16, kPi, 1.5 * kPi);  // to (34, 44)
    cairo_curve_to(cr, 150, 44, 250, 8, 400, 8);
    cairo_curve_to(cr, 550, 8, 650, 44, 784, 44);
    cairo_arc(cr, 784, 60, 16, 1.5 * kPi, 2 * kPi);  // to (800, 60)
    cairo_line_to(cr, 800, 486);
    cairo_arc(cr, 778, 486, 22, 0, 0.5 * kPi);  // to (778, 508)
    cairo_line_to(cr, 772, 508);
    cairo_arc_negative(cr, 772, 532, 24, 1.5 * kPi, kPi);  // concave to (748, 532)
    cairo_line_to(cr, 748, 600);
    cairo_line_to(cr, 276, 600);
    cairo_line_to(cr, 276, 532);
    cairo_arc_negative(cr, 252, 532, 24, 0, -0.5 * kPi);  // concave to (252, 508)
    cairo_line_to(cr, 40, 508);
    cairo_arc(cr, 40, 486, 22, 0.5 * kPi, kPi);  // to (18, 486)
    cairo_close_path(cr);
}

void introOutline(cairo_t* cr) {
    cairo_new_path(cr);
    roundedRect(cr, 22, 84, 356, 132, 18);
    roundedRect(cr, 42, 28, 100, 244, 12);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
}

void logoText(cairo_t* cr, const char* text, double cx, double baseline, double size) {
    selectFont(cr, FontStyle::BoldItalic, size);
    // glow: wide soft strokes first
    for (int i = 5; i >= 1; --i) {
        cairo_new_path(cr);
        textPath(cr, text, cx, baseline, Align::Centre);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_set_line_width(cr, i * size * 0.06);
        setColor(cr, Rgb{255, 120, 20}, 0.10);
        cairo_stroke(cr);
    }
    cairo_new_path(cr);
    textPath(cr, text, cx + 2, baseline + 3, Align::Centre);
    setColor(cr, Rgb{40, 8, 0}, 0.6);
    cairo_fill(cr);
    textPath(cr, text, cx, baseline, Align::Centre);
    cairo_set_line_width(cr, size * 0.07);
    setColor(cr, Rgb{110, 30, 0});
    cairo_stroke_preserve(cr);
    fillWith(cr, linear(0, baseline - size * 0.75, 0, baseline,
                        {{0, 1.0, 0.95, 0.55}, {0.5, 1.0, 0.66, 0.12}, {1, 0.86, 0.30, 0.06}}));
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
}

// A marquee bulb: a wide warm glow round a bright glass bulb with a hot centre.
void bulb(cairo_t* cr, double x, double y) {
    cairo_new_path(cr);
    cairo_arc(cr, x, y, 14, 0, 2 * kPi);
    fillWith(cr, radial(x, y, 2, x, y, 14, {{0, 1, 0.88, 0.45, 0.8}, {1, 1, 0.6, 0.15, 0}}));
    cairo_arc(cr, x, y, 6.5, 0, 2 * kPi);
    setColor(cr, Rgb{120, 70, 20});
    cairo_fill(cr);
    cairo_arc(cr, x, y, 5.6, 0, 2 * kPi);
    fillWith(cr, radial(x - 1.6, y - 1.8, 0.4, x, y, 5.6,
                        {{0, 1, 1, 0.95}, {0.5, 1, 0.85, 0.35}, {1, 0.95, 0.55, 0.08}}));
}

double bezier(double a, double b, double c, double d, double t) {
    const double u = 1 - t;
    return u * u * u * a + 3 * u * u * t * b + 3 * u * t * t * c + t * t * t * d;
}

// A point on the crown's curve (the top of the cabinet's outline), t from 0 at the left to 1.
std::array<double, 2> crownPoint(double t) {
    const bool firstHalf = t < 0.5;
    const double u = firstHalf ? t * 2 : t * 2 - 1;
    const double x = firstHalf ? bezier(34, 150, 250, 400, u) : bezier(400, 550, 650, 784, u);
    const double y = firstHalf ? bezier(44, 44, 8, 8, u) : bezier(8, 8, 44, 44, u);
    return {x, y};
}

// The crown: a red marquee band under the top of the outline, lined in gold, that tucks behind
// the panels below it.
void crown(cairo_t* cr) {
    constexpr double kDepth = 34;
    // at the sides the band ends above the coin button's square, which shows plain metal
    constexpr double kSideDepth = 58;
    cairo_new_path(cr);
    cairo_move_to(cr, 0, 44);
    cairo_line_to(cr, 34, 44);
    cairo_curve_to(cr, 150, 44, 250, 8, 400, 8);
    cairo_curve_to(cr, 550, 8, 650, 44, 784, 44);
    cairo_line_to(cr, 800, 44);
    cairo_line_to(cr, 800, kSideDepth);
    cairo_line_to(cr, 784, kSideDepth);
    cairo_curve_to(cr, 650, kSideDepth, 550, 8 + kDepth, 400, 8 + kDepth);
    cairo_curve_to(cr, 250, 8 + kDepth, 150, kSideDepth, 34, kSideDepth);
    cairo_line_to(cr, 0, kSideDepth);
    cairo_close_path(cr);
    fillWith(cr, linear(0, 8, 0, kSideDepth,
                        {{0, 0.62, 0.08, 0.06}, {0.55, 0.36, 0.03, 0.03}, {1, 0.2, 0.01, 0.02}}));
    cairo_new_path(cr);
    cairo_move_to(cr, 34, kSideDepth);
    cairo_curve_to(cr, 150, kSideDepth, 250, 8 + kDepth, 400, 8 + kDepth);
    cairo_curve_to(cr, 550, 8 + kDepth, 650, kSideDepth, 784, kSideDepth);
    cairo_set_line_width(cr, 3);
    setColor(cr, kGold);
    cairo_stroke(cr);
}

// The belly under the reels: a chrome-framed navy panel behind the message line, with fruit at
// both ends, clear of the middle where the words stand.
void belly(cairo_t* cr) {
    constexpr double x = 281, y = 551, w = 462, h = 46;
    roundedRect(cr, x, y, w, h, 9);
    fillWith(cr, linear(0, y, 0, y + h,
                        {{0, 0.14, 0.2, 0.4}, {0.35, 0.04, 0.08, 0.2}, {1, 0.02, 0.04, 0.12}}));
    // a soft light behind the words
    cairo_save(cr);
    roundedRect(cr, x, y, w, h, 9);
    cairo_clip(cr);
    ellipse(cr, L::kMessageLineAt.x + L::kMessageLine.w / 2.0, y + 26, 150, 20);
    fillWith(cr, radial(L::kMessageLineAt.x + L::kMessageLine.w / 2.0, y + 26, 0,
                        L::kMessageLineAt.x + L::kMessageLine.w / 2.0, y + 26, 150,
                        {{0, 0.16, 0.24, 0.45, 0.35}, {1, 0.16, 0.24, 0.45, 0}}));
    cairo_restore(cr);
    bevelFrame(cr, x, y, w, h, 9, 3, false);
    struct Fruit {
        int symbol;
        double cx;
    };
    static constexpr Fruit kFruit[] = {{9, 306}, {10, 343}, {2, 380}, {3, 644}, {4, 681}, {7, 718}};
    for (const Fruit& f : kFruit) {
        cairo_new_path(cr);
        cairo_arc(cr, f.cx, y + 21, 16, 0, 2 * kPi);
        fillWith(cr,
                 radial(f.cx, y + 21, 4, f.cx, y + 21, 16,
                        {{0, 1, 1, 1, 0.95}, {0.75, 0.9, 0.93, 1, 0.85}, {1, 0.6, 0.7, 0.9, 0}}));
        drawSymbolCentred(cr, f.symbol, f.cx, y + 21, 26, 24);
    }
}

// A lever: a chromed arm in a slot plate with a pivot below; the ball on top is its own picture.
void leverHousing(cairo_t* cr) {
    const double x = L::kLeverAt.x + L::kBigFaceCentre + 0.5;
    // the plate, with a deep slot down its middle
    roundedRect(cr, x - 19, 346, 38, 162, 13);
    setColor(cr, Rgb{0, 0, 0}, 0.3);
    cairo_fill(cr);
    roundedRect(cr, x - 19, 344, 38, 160, 13);
    fillWith(cr, linear(x - 19, 0, x + 19, 0,
                        {{0, 0.42, 0.44, 0.5},
                         {0.3, 0.95, 0.96, 0.99},
                         {0.55, 0.72, 0.74, 0.8},
                         {1, 0.3, 0.32, 0.36}}));
    bevelFrame(cr, x - 19, 344, 38, 160, 13, 1.5, false);
    roundedRect(cr, x - 8, 356, 16, 138, 8);
    fillWith(cr, linear(x - 8, 0, x + 8, 0, {{0, 0.01, 0.02, 0.04}, {1, 0.14, 0.15, 0.18}}));
    for (double sy : {352.0, 497.0}) screw(cr, x, sy);
    // the arm from the pivot up to the ball's picture
    cairo_rectangle(cr, x - 4, L::kLeverAt.y + L::kBigButton.h - 2, 8, 486 - L::kLeverAt.y - 61);
    fillWith(cr, linear(x - 4, 0, x + 4, 0,
                        {{0, 0.38, 0.4, 0.44}, {0.35, 0.98, 0.98, 1}, {1, 0.3, 0.32, 0.36}}));
    cairo_arc(cr, x, 486, 8, 0, 2 * kPi);
    fillWith(cr, radial(x - 2.5, 483, 0.5, x, 486, 8,
                        {{0, 1, 1, 1}, {0.5, 0.7, 0.72, 0.76}, {1, 0.25, 0.27, 0.3}}));
}

void drawCabinetBody(Canvas& cab) {
    cairo_t* cr = cab.cr();
    Canvas metal(L::kCabinet.w, L::kCabinet.h);
    brushedMetal(metal, 11);

    setColor(cr, kCabinetKey);
    cairo_paint(cr);
    cairo_save(cr);
    cabinetOutline(cr);
    cairo_clip(cr);
    cairo_set_source_surface(cr, metal.surface(), 0, 0);
    cairo_paint(cr);
    frontSheen(cr);
    crown(cr);

    // logo panel
    bluePanel(cr, 34, 62, 348, 200, 16);
    cairo_save(cr);
    roundedRect(cr, 34, 62, 348, 200, 16);
    cairo_clip(cr);
    for (int i = 0; i < 24; ++i) {
        const double a = kPi * (i / 12.0);
        cairo_move_to(cr, 208, 150);
        cairo_line_to(cr, 208 + 400 * std::cos(a - 0.06), 150 + 400 * std::sin(a - 0.06));
        cairo_line_to(cr, 208 + 400 * std::cos(a + 0.06), 150 + 400 * std::sin(a + 0.06));
        cairo_close_path(cr);
    }
    setColor(cr, Rgb{90, 140, 230}, 0.07);
    cairo_fill(cr);
    cairo_restore(cr);
    logoText(cr, "Fruvana", 208, 172, 78);
    selectFont(cr, FontStyle::Bold, 17);
    cairo_new_path(cr);
    engrave(cr, words("HOLD ON TO YOUR LUCK"), 208, 224, Align::Centre, Rgb{220, 232, 255}, 0.0);
    cairo_move_to(cr, 80, 238);
    cairo_line_to(cr, 336, 238);
    setColor(cr, Rgb{200, 120, 60}, 0.7);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    for (double sx : {46.0, 370.0})
        for (double sy : {74.0, 250.0}) screw(cr, sx, sy);

    // pay panel: four prizes, each with its meter window
    bluePanel(cr, 398, 56, 318, 280, 14);
    for (int row = 0; row < 4; ++row) {
        const L::Offset m = L::kPrizeMetersAt[static_cast<std::size_t>(row)];
        const double cy = m.y + L::kPrizeMeter.h / 2.0;
        static constexpr int kPrizeSymbols[4] = {1, 2, 3, 4};
        for (int i = 0; i < 3; ++i)
            symbolTile(cr, kPrizeSymbols[row], 442 + i * 62, cy, 56, 54, 48);
        cairo_new_path(cr);
        cairo_move_to(cr, 606, cy - 8);
        cairo_line_to(cr, 624, cy);
        cairo_line_to(cr, 606, cy + 8);
        cairo_close_path(cr);
        setColor(cr, kGold);
        cairo_fill(cr);
        meterWindow(cr, m.x, m.y, L::kPrizeMeter.w, L::kPrizeMeter.h, kMeterBlue);
        // the meter shows the prize for the bet; the line under it says so
        const std::string perBet[4] = {words("500 x BET"), words("250 x BET"), words("100 x BET"),
                                       words("75 x BET")};
        selectFont(cr, FontStyle::Bold, 10.5);
        cairo_new_path(cr);
        engrave(cr, perBet[row], m.x + L::kPrizeMeter.w / 2.0, cy + 27, Align::Centre, kGold, 0.0);
        if (row < 3) {
            cairo_move_to(cr, 410, cy + 35);
            cairo_line_to(cr, 704, cy + 35);
            setColor(cr, Rgb{90, 130, 200}, 0.35);
            cairo_set_line_width(cr, 1);
            cairo_stroke(cr);
        }
    }

    // meters with their labels
    selectFont(cr, FontStyle::Bold, 14);
    const Rgb label = kTrimBlue;
    auto labelled = [&](L::Offset at, L::Extent size, const std::string& text) {
        meterWindow(cr, at.x, at.y, size.w, size.h, kMeterBlue);
        cairo_new_path(cr);
        engrave(cr, text, at.x + size.w / 2.0, at.y - 10, Align::Centre, label);
    };
    labelled(L::kBetMeterAt, L::kBetMeter, words("BET"));
    labelled(L::kCreditMeterAt, L::kWideMeter, words("CREDIT"));
    labelled(L::kWinMeterAt, L::kWideMeter, words("WIN"));

    // reel box
    bluePanel(cr, 290, 355, 434, 150, 10);
    for (const L::Offset r : L::kReelsAt) {
        cairo_rectangle(cr, r.x - 4, r.y - 4, L::kReel.w + 8, L::kReel.h + 8);
        setColor(cr, Rgb{4, 10, 26});
        cairo_fill(cr);
        bevelFrame(cr, r.x - 3, r.y - 3, L::kReel.w + 6, L::kReel.h + 6, 1, 2, true);
        cairo_rectangle(cr, r.x, r.y, L::kReel.w, L::kReel.h);
        setColor(cr, Rgb{255, 255, 255});
        cairo_fill(cr);
    }
    const double lineY = L::kReelsAt[0].y + L::kReel.h / 2.0;
    for (int side = 0; side < 2; ++side) {
        const double x = side == 0 ? 291 : 723;
        const double dir = side == 0 ? 1 : -1;
        cairo_move_to(cr, x, lineY - 7);
        cairo_line_to(cr, x + dir * 10, lineY);
        cairo_line_to(cr, x, lineY + 7);
        cairo_close_path(cr);
        setColor(cr, Rgb{230, 30, 30});
        cairo_fill(cr);
    }

    leverHousing(cr);

    // sockets under the push buttons
    auto socket = [&](L::Offset at, bool big) {
        const int c = big ? L::kBigFaceCentre : L::kSmallFaceCentre;
        const int r = big ? L::kBigFaceRadius : L::kSmallFaceRadius;
        buttonSocket(cr, at.x + c + 0.5, at.y + c + 0.5, r);
    };
    socket(L::kHelpAt, true);
    socket(L::kExitAt, true);
    socket(L::kCoinAt, true);
    socket(L::kBetDownAt, false);
    socket(L::kBetUpAt, false);
    socket(L::kCollectAt, false);
    socket(L::kSettingsAt, false);
    socket(L::kAutoplayAt, false);
    selectFont(cr, FontStyle::Bold, 9.5);
    auto smallLabel = [&](L::Offset at, const std::string& text) {
        cairo_new_path(cr);
        engrave(cr, text, at.x + 16.5, at.y + 52, Align::Centre, label);
    };
    smallLabel(L::kCollectAt, words("COLLECT"));
    smallLabel(L::kSettingsAt, words("SETTINGS"));
    smallLabel(L::kAutoplayAt, words("AUTOPLAY"));

    // lamp windows: unlit lamp dots behind the hold lamps, each captioned so a player learns
    // that reels can be held
    cab.flush();
    for (const L::Offset at : L::kLampsAt) {
        pill(cr, at.x - 3, at.y - 3, L::kLamp.w + 6, L::kLamp.h + 6);
        fillWith(cr, linear(0, at.y - 3, 0, at.y + L::kLamp.h + 3,
                            {{0, 0.25, 0.27, 0.3}, {1, 0.95, 0.96, 0.98}}));
        cab.flush();
        paintLamp(
            cab, at.x, at.y,
            LampLook{{14, 13, 16}, {14, 13, 16}, {84, 74, 70}, {36, 32, 34}, {38, 34, 32}, 0.35},
            {}, false);
        cab.markDirty();
        selectFont(cr, FontStyle::Bold, 10);
        cairo_new_path(cr);
        engrave(cr, words("HOLD"), at.x + L::kLamp.w / 2.0, at.y + L::kLamp.h + 13, Align::Centre,
                label);
    }

    belly(cr);

    // marquee bulbs along the crown
    for (int i = 0; i < 15; ++i) {
        const auto [x, y] = crownPoint(0.12 + 0.76 * i / 14.0);
        bulb(cr, x, y + 14);
    }

    // Deliberate: the trim has a chrome outer edge and a brighter blue than the navy background,
    // so the machine's outline stands apart from the waves around it.
    cabinetOutline(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    trimStroke(cr);
    cairo_restore(cr);
}

Canvas buttonPicture(const Canvas& panel, L::Offset at, bool big, ButtonMark mark,
                     ButtonFinish finish = ButtonFinish::Inviting) {
    const L::Extent size = big ? L::kBigButton : L::kSmallButton;
    Canvas c = cropOf(panel, at.x, at.y, size.w, size.h);
    const double centre = (big ? L::kBigFaceCentre : L::kSmallFaceCentre) + 0.5;
    pushButton(c.cr(), centre, centre, big ? L::kBigFaceRadius : L::kSmallFaceRadius, mark, finish);
    return c;
}

// The lever's ball: a big glossy red ball on the top of the chromed arm, the one red control
// on the machine, so a player finds it first.
Canvas leverPicture(const Canvas& cabinet) {
    Canvas c = cropOf(cabinet, L::kLeverAt.x, L::kLeverAt.y, L::kBigButton.w, L::kBigButton.h);
    cairo_t* cr = c.cr();
    const double cx = L::kBigFaceCentre + 0.5;
    cairo_rectangle(cr, cx - 4, cx, 8, 63 - cx);
    fillWith(cr, linear(cx - 4, 0, cx + 4, 0,
                        {{0, 0.38, 0.4, 0.44}, {0.35, 0.98, 0.98, 1}, {1, 0.3, 0.32, 0.36}}));
    // a chrome collar where the arm meets the ball
    roundedRect(cr, cx - 7, cx + 20, 14, 7, 2);
    fillWith(cr, linear(cx - 7, 0, cx + 7, 0,
                        {{0, 0.35, 0.37, 0.4}, {0.4, 1, 1, 1}, {1, 0.28, 0.3, 0.33}}));
    // shadow of the ball on the plate
    cairo_arc(cr, cx + 3, cx + 4, 26, 0, 2 * kPi);
    fillWith(cr,
             radial(cx + 3, cx + 4, 17, cx + 3, cx + 4, 27, {{0, 0, 0, 0, 0.5}, {1, 0, 0, 0, 0}}));
    glossyBall(cr, cx, cx, 23.5, Rgb{255, 170, 160}, Rgb{214, 18, 24}, Rgb{90, 0, 6});
    // a warm rim light at the bottom
    cairo_new_path(cr);
    cairo_arc(cr, cx, cx, 20.5, 0.15 * kPi, 0.85 * kPi);
    cairo_set_line_width(cr, 2);
    cairo_set_source_rgba(cr, 1, 0.55, 0.45, 0.4);
    cairo_stroke(cr);
    return c;
}

// ----- intro picture -----

Canvas makeIntro() {
    Canvas c(L::kIntro.w, L::kIntro.h);
    cairo_t* cr = c.cr();
    setColor(cr, kIntroKey);
    cairo_paint(cr);
    cairo_save(cr);
    introOutline(cr);
    cairo_clip(cr);
    // plaque
    roundedRect(cr, 22, 84, 356, 132, 18);
    fillWith(cr, linear(0, 84, 0, 216,
                        {{0, 22 / 255.0, 34 / 255.0, 70 / 255.0},
                         {1, 9 / 255.0, 14 / 255.0, 30 / 255.0}}));
    const Rgb copper{196, 112, 58};
    roundedRect(cr, 22, 84, 356, 132, 18);
    setColor(cr, copper);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    // the reel drum: a BAR on the line, the cherries above and a red 7 below
    roundedRect(cr, 42, 28, 100, 244, 12);
    setColor(cr, Rgb{40, 26, 16});
    cairo_fill(cr);
    c.flush();
    Canvas drum(88, 232);
    cairo_t* dr = drum.cr();
    drawSymbol(dr, 9, -17, -78 + 38, 122);
    drawSymbol(dr, 1, -17, 55, 122);
    drawSymbol(dr, 7, -17, 177 - 16, 122);
    drum.flush();
    for (int y = 0; y < 232; ++y) {
        // the drum's curve: bright on the line, darker towards the top and bottom
        const double a = (y - 115.5) / 116.0;
        const double shade = 1.0 - 0.62 * a * a;
        for (int x = 0; x < 88; ++x) {
            const Rgb s = drum.pixel(x, y);
            auto sh = [&](std::uint8_t v) {
                return static_cast<std::uint8_t>(std::lround(v * shade));
            };
            drum.setPixel(x, y, {sh(s.r), sh(s.g), sh(s.b)});
        }
    }
    drum.markDirty();
    cairo_set_source_surface(cr, drum.surface(), 48, 34);
    roundedRect(cr, 48, 34, 88, 232, 8);
    cairo_fill(cr);
    // copper frames
    roundedRect(cr, 42, 28, 100, 244, 12);
    setColor(cr, copper);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    roundedRect(cr, 48, 34, 88, 232, 8);
    setColor(cr, copper);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    payLineMarkers(cr, 42, 142, 150, 8, 11);
    logoText(cr, "Fruvana", 262, 160, 54);
    selectFont(cr, FontStyle::Bold, 12);
    cairo_new_path(cr);
    engrave(cr, words("THREE REEL FRUIT MACHINE"), 262, 190, Align::Centre, copper, 0.0);
    cairo_restore(cr);
    return c;
}

}  // namespace

void applySeeThrough(Canvas& canvas, Rgb key, void (*shape)(cairo_t*)) {
    // Coverage of the shape, anti-aliased: only pixels it does not touch at all
    // become see-through, so the edge keeps its blended colours.
    cairo_surface_t* mask =
        cairo_image_surface_create(CAIRO_FORMAT_A8, canvas.width(), canvas.height());
    cairo_t* mcr = cairo_create(mask);
    shape(mcr);
    cairo_set_source_rgba(mcr, 0, 0, 0, 1);
    cairo_fill(mcr);
    cairo_destroy(mcr);
    cairo_surface_flush(mask);
    const unsigned char* data = cairo_image_surface_get_data(mask);
    const int stride = cairo_image_surface_get_stride(mask);
    canvas.flush();
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const bool inside = data[y * stride + x] != 0;
            if (!inside) {
                canvas.setPixel(x, y, key);
            } else if (canvas.pixel(x, y) == key) {
                Rgb near = key;
                near.b = static_cast<std::uint8_t>(key.b == 255 ? 254 : key.b + 1);
                canvas.setPixel(x, y, near);
            }
        }
    }
    canvas.markDirty();
    cairo_surface_destroy(mask);
}

std::vector<NamedPicture> gamePictures() {
    std::vector<NamedPicture> out;
    Canvas cabinet(L::kCabinet.w, L::kCabinet.h);
    drawCabinetBody(cabinet);
    applySeeThrough(cabinet, kCabinetKey, cabinetOutline);

    Canvas strip = makeReelStrip();
    out.push_back({"background_tile", makeFond()});
    out.push_back({"intro", makeIntro()});
    applySeeThrough(out.back().canvas, kIntroKey, introOutline);
    const std::array<int, 2> starts = blurStarts(strip);
    out.push_back({"reel_blur_1", makeBlur(strip, starts[0])});
    out.push_back({"reel_blur_2", makeBlur(strip, starts[1])});
    out.push_back({"reel", makeWhite()});
    out.push_back({"lever", leverPicture(cabinet)});
    out.push_back({"help_button", buttonPicture(cabinet, L::kHelpAt, true, ButtonMark::Help)});
    out.push_back({"exit_button", buttonPicture(cabinet, L::kExitAt, true, ButtonMark::Exit,
                                                ButtonFinish::Muted)});
    out.push_back({"coin_button", buttonPicture(cabinet, L::kCoinAt, true, ButtonMark::Coin)});
    out.push_back(
        {"bet_down_button", buttonPicture(cabinet, L::kBetDownAt, false, ButtonMark::Left)});
    out.push_back({"bet_up_button", buttonPicture(cabinet, L::kBetUpAt, false, ButtonMark::Right)});
    out.push_back(
        {"collect_button", buttonPicture(cabinet, L::kCollectAt, false, ButtonMark::Ring)});
    out.push_back(
        {"settings_button", buttonPicture(cabinet, L::kSettingsAt, false, ButtonMark::Tilde)});
    out.push_back(
        {"autoplay_button", buttonPicture(cabinet, L::kAutoplayAt, false, ButtonMark::Play)});
    out.push_back({"digits", makeDigits()});
    out.push_back({"lamp_red", makeLamp(false)});
    out.push_back({"lamp_green", makeLamp(true)});
    out.push_back({"lamp_red_shaped", makeLamp(false, DotShape::Square)});
    out.push_back({"lamp_green_shaped", makeLamp(true, DotShape::Ring)});
    out.push_back({"reel_strip", std::move(strip)});
    out.push_back({"cabinet", std::move(cabinet)});
    return out;
}

}  // namespace fruvana::assetgen
