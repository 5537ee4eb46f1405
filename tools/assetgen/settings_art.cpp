#include <array>
#include <cmath>
#include <string>

#include "engine/machine_state.h"
#include "presentation/cabinet_layout.h"
#include "tools/assetgen/art.h"
#include "tools/assetgen/language.h"
#include "tools/assetgen/paint.h"

namespace fruvana::assetgen {

namespace L = fruvana::layout;

namespace {

constexpr double kPi = 3.14159265358979323846;
// The empty socket and the switched-off look share this colour, so a dark switch disappears.
constexpr Rgb kSocketBlue{14, 30, 64};

constexpr Rgb kPanelText{232, 238, 250};

// The switches: a blue panel with chrome-ringed sockets and light labels, read at a glance.
void switchPanel(cairo_t* cr) {
    bluePanel(cr, 50, 84, 272, 384, 14);
    selectFont(cr, FontStyle::Bold, 20);
    cairo_new_path(cr);
    engrave(cr, words("SETTINGS"), 186, 119, Align::Centre, kGold, 0.0);
    cairo_move_to(cr, 74, 130.5);
    cairo_line_to(cr, 298, 130.5);
    setColor(cr, Rgb{200, 120, 60}, 0.7);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    std::array<std::string, Options::kCount> labels;
    for (std::size_t row = 0; row < labels.size(); ++row) labels[row] = words(kOptionNames[row]);
    for (std::size_t i = 0; i < L::kSwitchesAt.size(); ++i) {
        const L::Offset at = L::kSwitchesAt[i];
        const double cx = at.x + L::kSwitch.w / 2.0;
        const double cy = at.y + L::kSwitch.h / 2.0;
        cairo_new_path(cr);
        cairo_arc(cr, cx, cy, 19.5, 0, 2 * kPi);
        fillWith(cr, linear(cx - 19, cy - 19, cx + 12, cy + 19,
                            {{0, 0.97, 0.98, 1}, {0.5, 0.6, 0.62, 0.68}, {1, 0.25, 0.27, 0.3}}));
        cairo_arc(cr, cx, cy, 15.5, 0, 2 * kPi);
        setColor(cr, kSocketBlue);
        cairo_fill(cr);
        selectFont(cr, FontStyle::Bold, 20);
        cairo_new_path(cr);
        engrave(cr, labels[i], 126, cy + 7, Align::Left, kPanelText, 0.0);
    }
    for (double sx : {62.0, 310.0})
        for (double sy : {96.0, 456.0}) screw(cr, sx, sy);
}

// The statistics field framed like a display: a chrome bezel, black glass round the table and
// a lit caption above it.
void statisticsDisplay(cairo_t* cr) {
    roundedRect(cr, 339, 88, 436, 380, 16);
    setColor(cr, Rgb{0, 0, 0}, 0.3);
    cairo_fill(cr);
    roundedRect(cr, 336, 84, 436, 380, 16);
    fillWith(cr, linear(336, 84, 420, 464,
                        {{0, 0.93, 0.94, 0.97}, {0.45, 0.58, 0.6, 0.65}, {1, 0.3, 0.32, 0.36}}));
    bevelFrame(cr, 336, 84, 436, 380, 16, 1.5, false);
    roundedRect(cr, 344, 92, 420, 364, 10);
    setColor(cr, Rgb{4, 8, 16});
    cairo_fill(cr);
    bevelFrame(cr, 344, 92, 420, 364, 10, 2, true);
    // a faint glass sheen over the black
    roundedRect(cr, 346, 94, 416, 40, 8);
    fillWith(cr, linear(0, 94, 0, 134, {{0, 1, 1, 1, 0.10}, {1, 1, 1, 1, 0}}));
    selectFont(cr, FontStyle::Bold, 18);
    cairo_new_path(cr);
    engrave(cr, words("STATISTICS"), 555, 124, Align::Centre, Rgb{255, 160, 50}, 0.0);
    cairo_rectangle(cr, L::kStatisticsAt.x - 1, L::kStatisticsAt.y - 1, L::kStatistics.w + 2,
                    L::kStatistics.h + 2);
    setColor(cr, Rgb{40, 70, 120});
    cairo_fill(cr);
    cairo_rectangle(cr, L::kStatisticsAt.x, L::kStatisticsAt.y, L::kStatistics.w, L::kStatistics.h);
    setColor(cr, kMeterBlue);
    cairo_fill(cr);
    for (double sx : {340.0, 768.0})
        for (double sy : {104.0, 444.0}) screw(cr, sx, sy);
}

// Fruit on white roundels, as on the reels, with the machine's slogan under them.
void fruitPlaque(cairo_t* cr) {
    bluePanel(cr, 50, 484, 272, 98, 14);
    static constexpr int kFruit[5] = {9, 2, 7, 4, 10};
    for (int i = 0; i < 5; ++i) symbolTile(cr, kFruit[i], 90 + i * 48, 515, 42, 42, 36);
    selectFont(cr, FontStyle::Bold, 13);
    cairo_new_path(cr);
    engrave(cr, words("HOLD ON TO YOUR LUCK"), 186, 565, Align::Centre, kPanelText, 0.0);
}

// The brushed metal of a panel laid over the cabinet, with its title band and the game's name.
Canvas panelWithTitleBand() {
    Canvas c(L::kCabinet.w, L::kCabinet.h);
    brushedMetal(c, 29);
    cairo_t* cr = c.cr();
    frontSheen(cr);
    shadedBand(cr, 0, 0, 800, 58, Rgb{30, 62, 124}, Rgb{10, 24, 58}, 58, Rgb{220, 226, 236}, 2);
    cairo_move_to(cr, 0, 61);
    cairo_line_to(cr, 800, 61);
    setColor(cr, kGold);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    selectFont(cr, FontStyle::BoldItalic, 34);
    cairo_new_path(cr);
    textPath(cr, "Fruvana", 28, 42, Align::Left);
    setColor(cr, Rgb{255, 170, 40});
    cairo_fill(cr);
    return c;
}

// A panel in the settings screen's finish with its title engraved at the right of the band.
Canvas titledPanel(const std::string& title, double size, double baseline, Rgb colour) {
    Canvas c = panelWithTitleBand();
    selectFont(c.cr(), FontStyle::Bold, size);
    cairo_new_path(c.cr());
    engrave(c.cr(), title, 772, baseline, Align::Right, colour, 0.0);
    return c;
}

Canvas makeBackground() {
    Canvas c = titledPanel(words("SETTINGS AND STATISTICS"), 15, 36, Rgb{200, 214, 240});
    cairo_t* cr = c.cr();
    buttonSocket(cr, L::kPreferencesButtonAt.x + L::kSmallFaceCentre + 0.5,
                 L::kPreferencesButtonAt.y + L::kSmallFaceCentre + 0.5, L::kSmallFaceRadius);
    selectFont(cr, FontStyle::Bold, 13);
    cairo_new_path(cr);
    engrave(cr, words("PREFERENCES"), L::kPreferencesButtonAt.x + 48,
            L::kPreferencesButtonAt.y + 26, Align::Left, Rgb{200, 214, 240}, 0.0);

    switchPanel(cr);
    statisticsDisplay(cr);
    fruitPlaque(cr);

    // the two buttons share one plate in the middle of the bottom row
    bluePanel(cr, 346, 484, 178, 98, 14);
    buttonSocket(cr, L::kOkAt.x + L::kBigFaceCentre + 0.5, L::kOkAt.y + L::kBigFaceCentre + 0.5,
                 L::kBigFaceRadius);
    buttonSocket(cr, L::kResetAt.x + L::kSmallFaceCentre + 0.5,
                 L::kResetAt.y + L::kSmallFaceCentre + 0.5, L::kSmallFaceRadius);
    selectFont(cr, FontStyle::Bold, 11);
    cairo_new_path(cr);
    engrave(cr, words("RESET"), L::kResetAt.x + 16.5, L::kResetAt.y + 56, Align::Centre, kPanelText,
            0.0);

    // account box and the recall button on their own plate
    bluePanel(cr, 548, 484, 224, 98, 14);
    buttonSocket(cr, L::kRecallButtonAt.x + L::kSmallFaceCentre + 0.5,
                 L::kRecallButtonAt.y + L::kSmallFaceCentre + 0.5, L::kSmallFaceRadius);
    selectFont(cr, FontStyle::Bold, 13);
    cairo_new_path(cr);
    engrave(cr, words("GAME RECALL"), L::kRecallButtonAt.x + 48, L::kRecallButtonAt.y + 26,
            Align::Left, kPanelText, 0.0);
    selectFont(cr, FontStyle::Bold, 18);
    cairo_new_path(cr);
    engrave(cr, words("Account"), 636, 515, Align::Right, kPanelText, 0.0);
    roundedRect(cr, 648, 490, 115, 37, 7);
    setColor(cr, Rgb{4, 10, 26});
    cairo_fill(cr);
    bevelFrame(cr, 648, 490, 115, 37, 7, 2.5, true);

    // Deliberate: the same trim as the cabinet's (a chrome edge round a bright blue band), so the
    // panel laid over the machine reads as part of it and stands apart from the background.
    cairo_rectangle(cr, 0, 0, 800, 600);
    trimStroke(cr);
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
    Canvas recall = cropOf(background, L::kRecallButtonAt.x, L::kRecallButtonAt.y,
                           L::kSmallButton.w, L::kSmallButton.h);
    pushButton(recall.cr(), L::kSmallFaceCentre + 0.5, L::kSmallFaceCentre + 0.5,
               L::kSmallFaceRadius, ButtonMark::List);
    Canvas preferences = cropOf(background, L::kPreferencesButtonAt.x, L::kPreferencesButtonAt.y,
                                L::kSmallButton.w, L::kSmallButton.h);
    pushButton(preferences.cr(), L::kSmallFaceCentre + 0.5, L::kSmallFaceCentre + 0.5,
               L::kSmallFaceRadius, ButtonMark::Tilde);
    out.push_back({"ok_button", std::move(ok)});
    out.push_back({"preferences_button", std::move(preferences)});
    out.push_back({"recall_button", std::move(recall)});
    out.push_back({"reset_button", std::move(reset)});
    out.push_back({"switch_on", makeSwitch(true)});
    out.push_back({"switch_off", makeSwitch(false)});
    out.push_back({"panel", std::move(background)});
    return out;
}

// The game recall: the settings screen's finish, a title band that says what it is, and one
// black display for the table of games.
Canvas recallPanel() {
    Canvas c = titledPanel(words("GAME RECALL"), 26, 40, Rgb{255, 208, 90});
    cairo_t* cr = c.cr();

    const double x = L::kRecallTableAt.x - 8;
    const double y = L::kRecallTableAt.y - 8;
    const double w = L::kRecallTable.w + 16;
    const double h = L::kRecallTable.h + 16;
    roundedRect(cr, x, y, w, h, 10);
    setColor(cr, Rgb{4, 8, 16});
    cairo_fill(cr);
    bevelFrame(cr, x, y, w, h, 10, 2, true);
    cairo_rectangle(cr, L::kRecallTableAt.x, L::kRecallTableAt.y, L::kRecallTable.w,
                    L::kRecallTable.h);
    setColor(cr, kMeterBlue);
    cairo_fill(cr);

    bluePanel(cr, 346, 484, 178, 98, 14);
    buttonSocket(cr, L::kOkAt.x + L::kBigFaceCentre + 0.5, L::kOkAt.y + L::kBigFaceCentre + 0.5,
                 L::kBigFaceRadius);
    for (double sx : {40.0, 760.0})
        for (double sy : {532.0, 572.0}) screw(cr, sx, sy);
    cairo_rectangle(cr, 0, 0, 800, 600);
    trimStroke(cr);
    return c;
}

// A flat plate a text control of a form lies on.
void formPlate(cairo_t* cr, double x, double y, double w, double h) {
    roundedRect(cr, x, y, w, h, 8);
    setColor(cr, Rgb{4, 10, 26});
    cairo_fill(cr);
    bevelFrame(cr, x, y, w, h, 8, 2, false);
}

// The preferences screen: the settings screen's finish, its title, a plate for the
// preferences, one for the controls, a strip for the message line, the two buttons' plates and
// the settings screen's fruit plaque.
Canvas preferencesPanel() {
    Canvas c = titledPanel(words("PREFERENCES"), 26, 40, Rgb{255, 208, 90});
    cairo_t* cr = c.cr();
    bluePanel(cr, 24, 74, 372, 366, 14);
    bluePanel(cr, 400, 74, 376, 366, 14);
    roundedRect(cr, 24, 446, 752, 30, 8);
    setColor(cr, Rgb{4, 8, 16});
    cairo_fill(cr);
    bevelFrame(cr, 24, 446, 752, 30, 8, 2, true);
    bluePanel(cr, 400, 492, 376, 92, 14);
    formPlate(cr, 426, 514, 140, 34);
    formPlate(cr, 616, 514, 140, 34);
    fruitPlaque(cr);
    cairo_rectangle(cr, 0, 0, 800, 600);
    trimStroke(cr);
    return c;
}

// The reality check: a small panel in the same finish with its title, a strip for its words and
// the plates of its two buttons.
Canvas realityCheckPanel() {
    Canvas c(520, 200);
    brushedMetal(c, 31);
    cairo_t* cr = c.cr();
    shadedBand(cr, 0, 0, 520, 44, Rgb{30, 62, 124}, Rgb{10, 24, 58}, 44, Rgb{220, 226, 236}, 2);
    selectFont(cr, FontStyle::Bold, 20);
    cairo_new_path(cr);
    engrave(cr, words("REALITY CHECK"), 260, 30, Align::Centre, Rgb{255, 208, 90}, 0.0);
    roundedRect(cr, 20, 62, 480, 40, 8);
    setColor(cr, Rgb{4, 8, 16});
    cairo_fill(cr);
    bevelFrame(cr, 20, 62, 480, 40, 8, 2, true);
    formPlate(cr, 60, 132, 180, 36);
    formPlate(cr, 280, 132, 180, 36);
    cairo_rectangle(cr, 0, 0, 520, 200);
    trimStroke(cr);
    return c;
}

}  // namespace fruvana::assetgen
