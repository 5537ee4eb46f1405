#include "tools/sim/plot_image.h"

#include <cairo-svg.h>
#include <cairo.h>
#include <fmt/format.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <numbers>
#include <regex>
#include <vector>

#include "tools/font_face.h"

namespace fruvana::sim {

namespace {

// ---- Cairo handles ------------------------------------------------------------------------

// Cairo's objects, each released by its own destroy function.
template <auto destroy>
struct Releaser {
    void operator()(auto* handle) const { destroy(handle); }
};
using Surface = std::unique_ptr<cairo_surface_t, Releaser<cairo_surface_destroy>>;
using Context = std::unique_ptr<cairo_t, Releaser<cairo_destroy>>;
using Face = std::unique_ptr<cairo_font_face_t, Releaser<cairo_font_face_destroy>>;

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

// Deliberate: Cairo numbers its surfaces across the whole process, so the id of the picture's
// root group would depend on how many pictures were drawn before; the ids are numbered again
// in the order they appear, so the same run gives the same bytes.
std::string stableSurfaceIds(const std::string& svg) {
    static const std::regex kId("([\"#])surface([0-9]+)");
    std::map<std::string, int> renumbered;
    std::string out;
    auto copied = svg.begin();
    for (std::sregex_iterator id(svg.begin(), svg.end(), kId), end; id != end; ++id) {
        const auto [slot, added] =
            renumbered.emplace((*id)[2].str(), static_cast<int>(renumbered.size()) + 1);
        out.append(copied, (*id)[0].first);
        out += (*id)[1].str() + "surface" + std::to_string(slot->second);
        copied = (*id)[0].second;
    }
    out.append(copied, svg.end());
    return out;
}

// ---- Drawing helpers ------------------------------------------------------------------------

struct Colour {
    double r, g, b;
};

constexpr Colour kInk{0.13, 0.13, 0.16};
constexpr Colour kGrid{0.86, 0.87, 0.90};
constexpr Colour kMoney{0.12, 0.33, 0.66};
constexpr Colour kMoneySpread{0.70, 0.79, 0.93};
constexpr Colour kCoin{0.85, 0.62, 0.05};
constexpr Colour kOverflow{0.80, 0.12, 0.12};
constexpr Colour kPar{0.82, 0.40, 0.05};
constexpr Colour kBand{0.99, 0.87, 0.72};
constexpr Colour kFirstCounted{0.12, 0.33, 0.66};
constexpr Colour kFirstExpected{0.66, 0.76, 0.91};
constexpr Colour kSecondCounted{0.13, 0.52, 0.27};
constexpr Colour kSecondExpected{0.68, 0.86, 0.71};

struct Box {
    double left, top, right, bottom;
    double width() const { return right - left; }
    double height() const { return bottom - top; }
};

enum class Align { Left, Centre, Right };

class Painter {
  public:
    Painter(cairo_t* cr, cairo_font_face_t* regular, cairo_font_face_t* bold)
        : cr_(cr), regular_(regular), bold_(bold) {
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
        cairo_set_font_options(cr_, options);
        cairo_font_options_destroy(options);
    }

    cairo_t* cr() const { return cr_; }

    void colour(const Colour& c) { cairo_set_source_rgb(cr_, c.r, c.g, c.b); }

    // The width of the text, in the font and size it is then drawn in.
    double textWidth(const std::string& s, double size, bool bold = false) {
        cairo_set_font_face(cr_, bold ? bold_ : regular_);
        cairo_set_font_size(cr_, size);
        cairo_text_extents_t e;
        cairo_text_extents(cr_, s.c_str(), &e);
        return e.x_advance;
    }

    void text(double x, double y, const std::string& s, double size, Align align = Align::Left,
              bool bold = false, const Colour& c = kInk) {
        const double width = textWidth(s, size, bold);
        if (align == Align::Centre) x -= width / 2;
        if (align == Align::Right) x -= width;
        colour(c);
        cairo_move_to(cr_, x, y);
        cairo_show_text(cr_, s.c_str());
    }

    // Text read from the bottom up, centred on (x, y).
    void verticalText(double x, double y, const std::string& s, double size) {
        cairo_save(cr_);
        cairo_translate(cr_, x, y);
        cairo_rotate(cr_, -std::numbers::pi / 2);
        text(0, 0, s, size, Align::Centre);
        cairo_restore(cr_);
    }

    void line(double x0, double y0, double x1, double y1, const Colour& c, double width) {
        colour(c);
        cairo_set_line_width(cr_, width);
        cairo_move_to(cr_, x0, y0);
        cairo_line_to(cr_, x1, y1);
        cairo_stroke(cr_);
    }

    void fillRect(double x, double y, double w, double h, const Colour& c) {
        colour(c);
        cairo_rectangle(cr_, x, y, w, h);
        cairo_fill(cr_);
    }

    void clipTo(const Box& b) {
        cairo_save(cr_);
        cairo_rectangle(cr_, b.left, b.top, b.width(), b.height());
        cairo_clip(cr_);
    }
    void unclip() { cairo_restore(cr_); }

    // A legend entry drawn from x: a sample, then its words. Returns where the next one starts.
    template <typename Sample>
    double legend(double x, double y, const std::string& words, Sample&& sample) {
        sample(x, y - 4);
        text(x + 22, y, words, 12);
        return x + 22 + textWidth(words, 12) + 18;
    }
    // Legend samples: a short stroke of a line's colour, and a patch of a fill's.
    auto stroke(const Colour& c) {
        return [this, c](double x, double y) { line(x, y, x + 16, y, c, 2); };
    }
    auto patch(const Colour& c, double height = 10) {
        return
            [this, c, height](double x, double y) { fillRect(x, y - height / 2, 16, height, c); };
    }

  private:
    cairo_t* cr_;
    cairo_font_face_t* regular_;
    cairo_font_face_t* bold_;
};

// Whole numbers with thousands marked: 1,000,000.
std::string grouped(std::int64_t value) {
    const bool negative = value < 0;
    std::string digits = std::to_string(negative ? -static_cast<unsigned long long>(value)
                                                 : static_cast<unsigned long long>(value));
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), ",");
    return negative ? "-" + digits : digits;
}

// Steps of 1, 2 or 5 times a power of ten, about `count` of them across [lo, hi].
double tickStep(double lo, double hi, int count, double smallest) {
    const double raw = std::max((hi - lo) / count, smallest);
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double scaled = raw / magnitude;
    const double step = scaled <= 1 ? 1 : scaled <= 2 ? 2 : scaled <= 5 ? 5 : 10;
    return std::max(step * magnitude, smallest);
}

std::vector<double> ticks(double lo, double hi, double step) {
    std::vector<double> at;
    for (double v = std::ceil(lo / step) * step; v <= hi + step * 1e-9; v += step)
        at.push_back(std::abs(v) < step * 1e-9 ? 0.0 : v);
    return at;
}

// Places after the point that a step needs: 0.5 needs one, 0.25 two.
int placesFor(double step) {
    int places = 0;
    while (places < 4 && std::abs(step * std::pow(10.0, places) -
                                  std::round(step * std::pow(10.0, places))) > 1e-6)
        ++places;
    return places;
}

// Pulls 0 to `pulls` across a panel.
struct PullAxis {
    Box box;
    std::int64_t pulls;
    double x(double pull) const {
        return box.left + box.width() * (pulls > 0 ? pull / static_cast<double>(pulls) : 0);
    }
};

struct ValueAxis {
    Box box;
    double lo, hi;
    // Points far outside the panel are pulled in to just beyond its clip, where Cairo's
    // fixed-point coordinates cannot overflow.
    double y(double v) const {
        return std::clamp(box.bottom - box.height() * (v - lo) / (hi - lo), box.top - 1000,
                          box.bottom + 1000);
    }
};

void frame(Painter& p, const Box& b) {
    cairo_set_line_width(p.cr(), 1);
    p.colour(kInk);
    cairo_rectangle(p.cr(), b.left, b.top, b.width(), b.height());
    cairo_stroke(p.cr());
}

// Ticks and their labels under a panel, about eight from lo to hi, placed by x.
template <typename X>
void bottomTicks(Painter& p, const Box& b, double lo, double hi, X&& x) {
    for (double v : ticks(lo, hi, tickStep(lo, hi, 8, 1))) {
        p.line(x(v), b.bottom, x(v), b.bottom + 4, kInk, 1);
        p.text(x(v), b.bottom + 17, grouped(std::llround(v)), 12, Align::Centre);
    }
}

void pullTicks(Painter& p, const PullAxis& axis) {
    const auto pulls = static_cast<double>(axis.pulls);
    if (axis.pulls > 0) bottomTicks(p, axis.box, 0, pulls, [&](double v) { return axis.x(v); });
    p.text(axis.box.right, axis.box.bottom + 34, "pulls", 12, Align::Right);
}

// Horizontal grid lines and their labels, values printed by `label`.
template <typename Label>
void valueTicks(Painter& p, const ValueAxis& axis, double step, Label&& label) {
    const Box& b = axis.box;
    for (double v : ticks(axis.lo, axis.hi, step)) {
        const double y = axis.y(v);
        p.line(b.left, y, b.right, y, kGrid, 1);
        p.line(b.left - 4, y, b.left, y, kInk, 1);
        p.text(b.left - 7, y + 4, label(v), 12, Align::Right);
    }
}

// An empty panel.
void noPulls(Painter& p, const Box& b) {
    p.text((b.left + b.right) / 2, (b.top + b.bottom) / 2, "no pulls were dealt", 14,
           Align::Centre);
    frame(p, b);
}

// A picture's white page, its title and its caption.
void heading(Painter& p, int height, const std::string& title, const std::string& caption) {
    p.fillRect(0, 0, kPlotWidth, height, {1, 1, 1});
    p.text(12, 24, title, 18, Align::Left, true);
    p.text(12, 44, caption, 12);
}

// ---- The panels ------------------------------------------------------------------------------

constexpr double kPlotLeft = 100;
constexpr double kPanelHeight = 280;
constexpr double kFirstPanelTop = 58;

Box plotBox(int panel) {
    const double top = kFirstPanelTop + panel * kPanelHeight + 28;
    return {kPlotLeft, top, kPlotLeft + kPlotColumns, top + 186};
}

void panelTitle(Painter& p, int panel, const std::string& title) {
    p.text(12, kFirstPanelTop + panel * kPanelHeight + 16, title, 15, Align::Left, true);
}

// The run in a panel: each thinned column's envelope (the pulls after the previous column's
// end), under a line through the columns' last values that begins at `start` when given.
template <typename T>
void runSeries(Painter& p, const PullAxis& xs, const ValueAxis& ys,
               const std::vector<const PlotColumn*>& columns, T PlotColumn::*low,
               T PlotColumn::*high, T PlotColumn::*last, std::optional<T> start = {}) {
    const auto y = [&ys](T value) { return ys.y(static_cast<double>(value)); };
    p.colour(kMoneySpread);
    for (const PlotColumn* col : columns) {
        if (col->firstPull == col->lastPull) continue;  // a single pull has no spread
        const double x0 = xs.x(static_cast<double>(col->firstPull - 1));
        const double x1 = std::max(xs.x(static_cast<double>(col->lastPull)), x0 + 1);
        const double y0 = y(col->*high);
        const double y1 = std::max(y(col->*low), y0 + 1);
        cairo_rectangle(p.cr(), x0, y0, x1 - x0, y1 - y0);
    }
    cairo_fill(p.cr());
    p.colour(kMoney);
    cairo_set_line_width(p.cr(), 1.6);
    cairo_set_line_join(p.cr(), CAIRO_LINE_JOIN_ROUND);
    if (start) cairo_move_to(p.cr(), xs.x(0), y(*start));
    for (const PlotColumn* col : columns)
        cairo_line_to(p.cr(), xs.x(static_cast<double>(col->lastPull)), y(col->*last));
    cairo_stroke(p.cr());
}

// Adds a triangle to the path with its tip at (x, tipY) and its base on baseY, reaching 5 to
// either side of x.
void triangle(cairo_t* cr, double x, double tipY, double baseY) {
    cairo_move_to(cr, x, tipY);
    cairo_line_to(cr, x - 5, baseY);
    cairo_line_to(cr, x + 5, baseY);
    cairo_close_path(cr);
}

void moneyPanel(Painter& p, const PlotSeries& s) {
    panelTitle(p, 0, "Money: credit + win + account");
    const Box b = plotBox(0);
    const PullAxis xs{b, s.pulls};
    auto lo = static_cast<double>(s.startMoney), hi = lo;
    for (const PlotColumn& c : s.columns) {
        lo = std::min(lo, static_cast<double>(c.moneyLow));
        hi = std::max(hi, static_cast<double>(c.moneyHigh));
    }
    const double pad = std::max((hi - lo) * 0.06, 10.0);
    const ValueAxis ys{b, lo - pad, hi + pad};

    valueTicks(p, ys, tickStep(ys.lo, ys.hi, 5, 1),
               [](double v) { return grouped(std::llround(v)); });
    p.verticalText(22, (b.top + b.bottom) / 2, "credit units", 12);
    pullTicks(p, xs);
    if (s.pulls == 0) return noPulls(p, b);

    std::vector<const PlotColumn*> all;
    for (const PlotColumn& c : s.columns) all.push_back(&c);
    p.clipTo(b);
    runSeries(p, xs, ys, all, &PlotColumn::moneyLow, &PlotColumn::moneyHigh, &PlotColumn::moneyLast,
              std::optional(s.startMoney));
    // A mark at every column with coins in, standing on the bottom edge, and at every column
    // with an overflow move, hanging from the top one.
    const auto marks = [&](const Colour& colour, std::int32_t PlotColumn::*count, double tipY,
                           double baseY) {
        p.colour(colour);
        for (const PlotColumn& c : s.columns)
            if (c.*count != 0) triangle(p.cr(), xs.x(static_cast<double>(c.lastPull)), tipY, baseY);
        cairo_fill(p.cr());
    };
    marks(kCoin, &PlotColumn::coins, b.bottom - 11, b.bottom - 2);
    marks(kOverflow, &PlotColumn::overflowMoves, b.top + 11, b.top + 2);
    p.unclip();
    frame(p, b);

    const double y = kFirstPanelTop + 16;
    double x = 380;
    x = p.legend(x, y, "after the pull", p.stroke(kMoney));
    x = p.legend(x, y, "lowest to highest within a column", p.patch(kMoneySpread));
    // A mark's sample: its triangle from tip to base, around the legend line.
    const auto mark = [&p](const Colour& c, double tip, double base) {
        return [&p, c, tip, base](double lx, double ly) {
            p.colour(c);
            triangle(p.cr(), lx + 8, ly + tip, ly + base);
            cairo_fill(p.cr());
        };
    };
    x = p.legend(x, y, "coin in (" + grouped(s.coins) + ")", mark(kCoin, -5, 4));
    p.legend(x, y, "credit overflow move (" + grouped(s.overflowMoves) + ")",
             mark(kOverflow, 4, -5));
}

void returnPanel(Painter& p, const PlotSeries& s) {
    panelTitle(p, 1, "Return to player so far");
    const Box b = plotBox(1);
    const PullAxis xs{b, s.pulls};

    // The first pulls swing wildly; the scale follows the run from its twentieth part on.
    const std::int64_t from = s.pulls / 20;
    double lo = std::numeric_limits<double>::infinity();
    double hi = -lo;
    std::vector<const PlotColumn*> shown;
    for (const PlotColumn& c : s.columns) {
        if (!c.hasReturn) continue;
        shown.push_back(&c);
        if (c.lastPull < from) continue;
        lo = std::min({lo, c.returnLow, c.par - c.band});
        hi = std::max({hi, c.returnHigh, c.par + c.band});
    }
    if (!(lo <= hi)) lo = 0, hi = 1;
    const double pad = std::max((hi - lo) * 0.08, 0.01);
    lo = std::max(lo - pad, 0.0);
    hi += pad;
    const ValueAxis ys{b, lo, hi};
    const double step = tickStep(lo * 100, hi * 100, 5, 0.01) / 100;
    const int places = placesFor(step * 100);
    valueTicks(p, ys, step,
               [places](double v) { return fmt::format("{:.{}f} %", v * 100, places); });
    p.verticalText(22, (b.top + b.bottom) / 2, "of the stake", 12);
    pullTicks(p, xs);
    if (shown.empty()) return noPulls(p, b);

    p.clipTo(b);
    // The band, out along its top edge and back along its bottom, and the par line through it.
    const auto to = [&](const PlotColumn* c, double value) {
        cairo_line_to(p.cr(), xs.x(static_cast<double>(c->lastPull)), ys.y(value));
    };
    p.colour(kBand);
    for (const PlotColumn* c : shown) to(c, c->par + c->band);
    for (auto c = shown.rbegin(); c != shown.rend(); ++c) to(*c, (*c)->par - (*c)->band);
    cairo_close_path(p.cr());
    cairo_fill(p.cr());
    p.colour(kPar);
    cairo_set_line_width(p.cr(), 1.6);
    for (const PlotColumn* c : shown) to(c, c->par);
    cairo_stroke(p.cr());
    runSeries(p, xs, ys, shown, &PlotColumn::returnLow, &PlotColumn::returnHigh,
              &PlotColumn::returnLast);
    p.unclip();
    frame(p, b);

    const PlotColumn& last = *shown.back();
    const double y = kFirstPanelTop + kPanelHeight + 16;
    double x = 380;
    x = p.legend(x, y, fmt::format("this run: {:.2f} %", last.returnLast * 100), p.stroke(kMoney));
    x = p.legend(x, y, fmt::format("par sheet: {:.2f} %", last.par * 100), p.stroke(kPar));
    p.legend(x, y, fmt::format("99.9 % band: {:.2f} % either side", last.band * 100),
             p.patch(kBand));
}

void classPanel(Painter& p, const PlotSeries& s) {
    panelTitle(p, 2, "Deals of each class: counted and expected");
    Box b = plotBox(2);
    b.bottom -= 6;  // room for two lines of class names

    double smallest = std::numeric_limits<double>::infinity(), largest = 1;
    for (const ClassTally* t : {&s.firstDeals, &s.secondDeals}) {
        if (t->deals == 0) continue;
        for (const ComboClass c : kEveryClass) {
            for (double v :
                 {static_cast<double>(t->observed[c]), t->expected[c],
                  static_cast<double>(t->range[c].lo), static_cast<double>(t->range[c].hi)}) {
                if (v > 0) smallest = std::min(smallest, v);
                largest = std::max(largest, v);
            }
        }
    }
    const double bottomDecade = std::isfinite(smallest) ? std::floor(std::log10(smallest)) : 0;
    const double lo = std::max(bottomDecade, -1.0);
    const double hi = std::max(std::ceil(std::log10(largest * 1.05)), lo + 1);
    const ValueAxis ys{b, lo, hi};  // in decades
    valueTicks(p, ys, 1, [](double v) {
        return v < 0 ? fmt::format("{:g}", std::pow(10.0, v))
                     : grouped(std::llround(std::pow(10.0, v)));
    });
    p.verticalText(22, (b.top + b.bottom) / 2, "deals (log scale)", 12);
    const auto yOf = [&](double count) { return ys.y(std::max(std::log10(count), lo)); };

    const double group = b.width() / kClassCount;
    const double bar = 15;
    for (const ComboClass c : kEveryClass) {
        const double left = b.left + group * (codeOf(c) - 1) + (group - 4 * bar - 10) / 2;
        const auto pair = [&](const ClassTally& t, double x, const Colour& counted,
                              const Colour& expected) {
            if (t.deals == 0) return;
            const double observed = static_cast<double>(t.observed[c]);
            if (observed > 0) p.fillRect(x, yOf(observed), bar, b.bottom - yOf(observed), counted);
            if (t.expected[c] > 0)
                p.fillRect(x + bar, yOf(t.expected[c]), bar, b.bottom - yOf(t.expected[c]),
                           expected);
            // The range as a whisker over the expected bar.
            const double mid = x + bar * 1.5;
            const double top = yOf(std::max<double>(static_cast<double>(t.range[c].hi), 0.0));
            const double foot =
                t.range[c].lo > 0 ? yOf(static_cast<double>(t.range[c].lo)) : b.bottom;
            p.line(mid, top, mid, foot, kInk, 1.2);
            p.line(mid - 4, top, mid + 4, top, kInk, 1.2);
            if (t.range[c].lo > 0) p.line(mid - 4, foot, mid + 4, foot, kInk, 1.2);
        };
        pair(s.firstDeals, left, kFirstCounted, kFirstExpected);
        pair(s.secondDeals, left + 2 * bar + 10, kSecondCounted, kSecondExpected);

        // The name on two lines, broken at its first blank; "no win" stays on one.
        const std::string name(std::string(comboClassText(c)));
        const std::size_t space = c == ComboClass::NoWin ? std::string::npos : name.find(' ');
        const double centre = b.left + group * (codeOf(c) - 0.5);
        p.text(centre, b.bottom + 16, name.substr(0, space), 12, Align::Centre);
        if (space != std::string::npos)
            p.text(centre, b.bottom + 30, name.substr(space + 1), 12, Align::Centre);
    }
    frame(p, b);

    const double y = kFirstPanelTop + 2 * kPanelHeight + 16;
    double x = 420;
    x = p.legend(x, y, "first deals " + grouped(s.firstDeals.deals), p.patch(kFirstCounted, 12));
    x = p.legend(x, y, "expected", p.patch(kFirstExpected, 12));
    if (s.secondDeals.deals > 0) {
        x = p.legend(x, y, "second deals " + grouped(s.secondDeals.deals),
                     p.patch(kSecondCounted, 12));
        x = p.legend(x, y, "expected", p.patch(kSecondExpected, 12));
    }
    p.legend(x, y, "99.9 % range", [&](double lx, double ly) {
        p.line(lx + 8, ly - 6, lx + 8, ly + 6, kInk, 1.2);
        p.line(lx + 4, ly - 6, lx + 12, ly - 6, kInk, 1.2);
        p.line(lx + 4, ly + 6, lx + 12, ly + 6, kInk, 1.2);
    });
}

// Fontconfig keeps the configuration it parsed for the life of the process unless told to let
// go; the simulator uses it only while it draws.
struct FontconfigRelease {
    FontconfigRelease() = default;
    FontconfigRelease(const FontconfigRelease&) = delete;
    FontconfigRelease& operator=(const FontconfigRelease&) = delete;
    ~FontconfigRelease() { FcFini(); }
};

// ---- The sessions' picture -------------------------------------------------------------------

constexpr Colour kSessions{0.12, 0.33, 0.66};
constexpr Colour kPercentileMark{0.82, 0.40, 0.05};

void drawSessions(Painter& p, const SessionFigures& f, const std::string& caption) {
    const std::vector<std::int64_t>& sorted = f.money;
    heading(p, kSessionsPlotHeight, "Money at the end of " + grouped(f.sessions) + " sessions",
            caption);
    const Box b{kPlotLeft, 110, kPlotLeft + kPlotColumns, kSessionsPlotHeight - 70};
    p.verticalText(22, (b.top + b.bottom) / 2, "sessions", 12);
    p.text(b.right, b.bottom + 40, "credit + win + account at the end", 12, Align::Right);
    if (sorted.empty()) return noPulls(p, b);

    // Bars of a whole, round width, about 80 of them from the lowest to the highest money.
    const auto lowest = static_cast<double>(sorted.front());
    const auto highest = static_cast<double>(sorted.back());
    const double width = tickStep(lowest, highest + 1, 80, 1);
    const double from = std::floor(lowest / width) * width;
    const auto bars = static_cast<std::size_t>(std::floor((highest - from) / width)) + 1;
    std::vector<std::int64_t> counts(bars, 0);
    for (const std::int64_t m : sorted) {
        const auto bar =
            static_cast<std::size_t>(std::floor((static_cast<double>(m) - from) / width));
        ++counts[std::min(bar, bars - 1)];
    }
    const double top = static_cast<double>(*std::max_element(counts.begin(), counts.end()));
    const ValueAxis ys{b, 0, top * 1.08};
    valueTicks(p, ys, tickStep(0, top * 1.08, 5, 1),
               [](double v) { return grouped(std::llround(v)); });
    const double to = from + width * static_cast<double>(bars);
    const auto x = [&](double money) { return b.left + b.width() * (money - from) / (to - from); };
    bottomTicks(p, b, from, to, x);
    for (std::size_t i = 0; i < bars; ++i) {
        if (counts[i] == 0) continue;
        const double left = x(from + width * static_cast<double>(i));
        const double right = x(from + width * static_cast<double>(i + 1));
        const double y = ys.y(static_cast<double>(counts[i]));
        p.fillRect(left, y, std::max(right - left - 1, 1.0), b.bottom - y, kSessions);
    }
    // Each percentile as a line over the bars, labelled above the panel.
    for (std::size_t k = 0; k < kPercentiles.size(); ++k) {
        const double at = x(static_cast<double>(f.percentile[k]));
        p.line(at, b.top, at, b.bottom, kPercentileMark, 1.4);
        p.text(at, b.top - 6 - 14.0 * static_cast<double>(k % 2),
               fmt::format("{} %", kPercentiles[k]), 12, Align::Centre, false, kPercentileMark);
    }
    frame(p, b);
    const double y = 76;
    double lx = 12;
    lx = p.legend(lx, y, "sessions per bar of " + grouped(std::llround(width)) + " credits",
                  p.patch(kSessions));
    p.legend(
        lx, y,
        fmt::format("percentiles of the money at the end; {:.1f} % of sessions ended ahead",
                    100.0 * static_cast<double>(f.ahead) / static_cast<double>(f.sessions)),
        [&](double sx, double sy) { p.line(sx + 8, sy - 6, sx + 8, sy + 6, kPercentileMark, 2); });
}

// Draws a picture of the given size into PNG or SVG bytes.
template <typename Draw>
std::optional<std::string> render(ImageKind kind, int height, std::string& error, Draw&& draw) {
    // Deliberate: declared first, so the configuration goes only after every face and surface
    // that used it, and a long session of plots leaves nothing of fontconfig behind.
    const FontconfigRelease fontconfig;
    // Liberation Sans, or what fontconfig offers in its place.
    std::string family;
    const Face regular(tools::liberationSansFace(FC_WEIGHT_REGULAR, FC_SLANT_ROMAN, family));
    const Face bold(tools::liberationSansFace(FC_WEIGHT_BOLD, FC_SLANT_ROMAN, family));
    if (!regular || !bold) {
        error = "no font found for the labels (fonts-liberation2 gives Liberation Sans)";
        return std::nullopt;
    }

    std::string bytes;
    Surface surface;
    if (kind == ImageKind::Svg) {
        surface.reset(cairo_svg_surface_create_for_stream(appendBytes, &bytes, kPlotWidth, height));
        cairo_svg_surface_restrict_to_version(surface.get(), CAIRO_SVG_VERSION_1_1);
        cairo_svg_surface_set_document_unit(surface.get(), CAIRO_SVG_UNIT_PX);
    } else {
        surface.reset(cairo_image_surface_create(CAIRO_FORMAT_RGB24, kPlotWidth, height));
    }
    {
        const Context cr(cairo_create(surface.get()));
        Painter painter(cr.get(), regular.get(), bold.get());
        draw(painter);
        if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) {
            error =
                std::string("drawing failed: ") + cairo_status_to_string(cairo_status(cr.get()));
            return std::nullopt;
        }
    }
    cairo_status_t status = CAIRO_STATUS_SUCCESS;
    if (kind == ImageKind::Svg) {
        cairo_surface_finish(surface.get());
        status = cairo_surface_status(surface.get());
        bytes = stableSurfaceIds(bytes);
    } else {
        status = cairo_surface_write_to_png_stream(surface.get(), appendBytes, &bytes);
    }
    if (status != CAIRO_STATUS_SUCCESS) {
        error = std::string("the picture could not be encoded: ") + cairo_status_to_string(status);
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

std::optional<std::string> drawPlot(const PlotSeries& series, const std::string& caption,
                                    ImageKind kind, std::string& error) {
    return render(kind, kPlotHeight, error, [&](Painter& p) {
        heading(p, kPlotHeight, "What one run of the machine did, against the par sheet", caption);
        moneyPanel(p, series);
        returnPanel(p, series);
        classPanel(p, series);
    });
}

std::optional<std::string> drawSessionsPlot(const SessionFigures& figures,
                                            const std::string& caption, ImageKind kind,
                                            std::string& error) {
    return render(kind, kSessionsPlotHeight, error,
                  [&](Painter& painter) { drawSessions(painter, figures, caption); });
}

}  // namespace fruvana::sim
