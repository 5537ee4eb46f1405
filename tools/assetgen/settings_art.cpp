#include <cmath>

#include "presentation/cabinet_layout.h"
#include "tools/assetgen/art.h"
#include "tools/assetgen/paint.h"

namespace fruvana::assetgen {

namespace L = fruvana::layout;

namespace {

constexpr double kPi = 3.14159265358979323846;
// The empty socket and the switched-off look share this colour, so a dark switch disappears.
constexpr Rgb kSocketBlue{14, 30, 64};

Canvas makeBackground() {
    Canvas c(L::kCabinet.w, L::kCabinet.h);
    brushedMetal(c, 29);
    cairo_t* cr = c.cr();
    // the grey panel is a shade darker than the cabinet, so the screen reads as a cover
    setColor(cr, Rgb{40, 44, 52}, 0.28);
    cairo_paint(cr);

    // title band
    shadedBand(cr, 0, 0, 800, 58, Rgb{30, 62, 124}, Rgb{10, 24, 58}, 58, Rgb{220, 226, 236}, 2);
    selectFont(cr, FontStyle::BoldItalic, 34);
    cairo_new_path(cr);
    textPath(cr, "Fruvana", 28, 42, Align::Left);
    setColor(cr, Rgb{255, 170, 40});
    cairo_fill(cr);
    selectFont(cr, FontStyle::Bold, 15);
    cairo_new_path(cr);
    engrave(cr, "SETTINGS AND STATISTICS", 772, 36, Align::Right, Rgb{200, 214, 240}, 0.0);

    // headings
    selectFont(cr, FontStyle::Bold, 20);
    cairo_new_path(cr);
    engrave(cr, "SETTINGS", 60, 118, Align::Left, kTrimBlue);
    engrave(cr, "STATISTICS", 348, 118, Align::Left, kTrimBlue);

    // five switch sockets with their labels
    static constexpr const char* kLabels[5] = {"Auto bet", "Second deal", "Smart hold", "Sound FX",
                                               "Voice FX"};
    for (std::size_t i = 0; i < L::kSwitchesAt.size(); ++i) {
        const L::Offset at = L::kSwitchesAt[i];
        const double cx = at.x + L::kSwitch.w / 2.0;
        const double cy = at.y + L::kSwitch.h / 2.0;
        cairo_new_path(cr);
        cairo_arc(cr, cx, cy, 19, 0, 2 * kPi);
        fillWith(cr, linear(cx - 19, cy - 19, cx + 12, cy + 19,
                            {{0, 0.3, 0.32, 0.36}, {1, 0.97, 0.98, 1}}));
        cairo_arc(cr, cx, cy, 15.5, 0, 2 * kPi);
        setColor(cr, kSocketBlue);
        cairo_fill(cr);
        selectFont(cr, FontStyle::Bold, 18);
        cairo_new_path(cr);
        engrave(cr, kLabels[i], 126, cy + 6.5, Align::Left, kTrimBlue);
    }

    // statistics field, sunken
    roundedRect(cr, 348, 137, 414, 318, 6);
    setColor(cr, Rgb{8, 24, 46});
    cairo_fill(cr);
    bevelFrame(cr, 348, 137, 414, 318, 6, 3, true);
    cairo_rectangle(cr, L::kStatisticsAt.x, L::kStatisticsAt.y, L::kStatistics.w, L::kStatistics.h);
    setColor(cr, kMeterBlue);
    cairo_fill(cr);

    // account box
    selectFont(cr, FontStyle::Bold, 18);
    cairo_new_path(cr);
    engrave(cr, "Account", 636, 515, Align::Right, kTrimBlue);
    roundedRect(cr, 648, 490, 115, 37, 7);
    setColor(cr, Rgb{10, 24, 54});
    cairo_fill(cr);
    bevelFrame(cr, 648, 490, 115, 37, 7, 2.5, true);

    // sockets of the two buttons, and the reset label
    buttonSocket(cr, L::kOkAt.x + L::kBigFaceCentre + 0.5, L::kOkAt.y + L::kBigFaceCentre + 0.5,
                 L::kBigFaceRadius);
    buttonSocket(cr, L::kResetAt.x + L::kSmallFaceCentre + 0.5,
                 L::kResetAt.y + L::kSmallFaceCentre + 0.5, L::kSmallFaceRadius);
    selectFont(cr, FontStyle::Bold, 11);
    cairo_new_path(cr);
    engrave(cr, "RESET", L::kResetAt.x + 16.5, L::kResetAt.y + 56, Align::Centre, kTrimBlue);

    // a frame round the whole panel
    cairo_rectangle(cr, 2, 2, 796, 596);
    setColor(cr, kTrimBlue);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    return c;
}

Canvas makeSwitch(bool on) {
    Canvas c(L::kSwitch.w, L::kSwitch.h);
    cairo_t* cr = c.cr();
    setColor(cr, kSocketBlue);
    cairo_paint(cr);
    if (on) {
        cairo_arc(cr, 10, 10, 9.5, 0, 2 * kPi);
        cairo_pattern_t* glow = cairo_pattern_create_radial(10, 10, 5, 10, 10, 9.5);
        cairo_pattern_add_color_stop_rgba(glow, 0, 1, 0.55, 0.1, 0.6);
        cairo_pattern_add_color_stop_rgba(glow, 1, 1, 0.45, 0.05, 0);
        cairo_set_source(cr, glow);
        cairo_fill(cr);
        cairo_arc(cr, 10, 10, 7.5, 0, 2 * kPi);
        fillWith(cr, radial(7.5, 7, 0.5, 10, 10, 7.5,
                            {{0, 1, 0.95, 0.7}, {0.45, 1, 0.56, 0.1}, {1, 0.75, 0.25, 0.02}}));
        cairo_pattern_destroy(glow);
    }
    return c;
}

}  // namespace

std::vector<NamedPicture> settingsPictures() {
    std::vector<NamedPicture> out;
    Canvas background = makeBackground();
    Canvas ok = cropOf(background, L::kOkAt.x, L::kOkAt.y, L::kBigButton.w, L::kBigButton.h);
    pushButton(ok.cr(), L::kBigFaceCentre + 0.5, L::kBigFaceCentre + 0.5, L::kBigFaceRadius,
               ButtonMark::Ok);
    Canvas reset =
        cropOf(background, L::kResetAt.x, L::kResetAt.y, L::kSmallButton.w, L::kSmallButton.h);
    pushButton(reset.cr(), L::kSmallFaceCentre + 0.5, L::kSmallFaceCentre + 0.5,
               L::kSmallFaceRadius, ButtonMark::Ring);
    out.push_back({"Image2", std::move(ok)});
    out.push_back({"Image3", std::move(reset)});
    out.push_back({"bon", makeSwitch(true)});
    out.push_back({"boff", makeSwitch(false)});
    out.push_back({"Image1", std::move(background)});
    return out;
}

}  // namespace fruvana::assetgen
