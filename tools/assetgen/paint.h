#pragma once
// Drawing helpers shared by the pictures of both windows: colours, fonts, brushed metal,
// bevels, glossy push buttons and the reel symbols.

#include <cairo.h>

#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "tools/assetgen/canvas.h"

namespace fruvana::assetgen {

// The palette of the cabinet.
inline constexpr Rgb kTrimBlue{16, 34, 78};
inline constexpr Rgb kBrightTrim{30, 66, 150};
inline constexpr Rgb kDeepBlue{10, 22, 52};
inline constexpr Rgb kMeterBlue{15, 50, 84};
inline constexpr Rgb kOrange{201, 78, 22};
inline constexpr Rgb kGold{255, 190, 60};

void setColor(cairo_t* cr, Rgb c, double alpha = 1.0);

// A colour stop of a gradient, channels from 0 to 1.
struct ColourStop {
    double offset;
    double r;
    double g;
    double b;
    double a = 1.0;
};
ColourStop stop(double offset, Rgb c, double alpha = 1.0);
cairo_pattern_t* linear(double x0, double y0, double x1, double y1,
                        std::initializer_list<ColourStop> stops);
cairo_pattern_t* radial(double cx0, double cy0, double r0, double cx1, double cy1, double r1,
                        std::initializer_list<ColourStop> stops);
// Fills the current path with the pattern and releases the pattern.
void fillWith(cairo_t* cr, cairo_pattern_t* p, bool preserve = false);
void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void pill(cairo_t* cr, double x, double y, double w, double h);
// Adds an ellipse centred on (cx, cy) with radii rx and ry to the path, as a sub-path of its own.
void ellipse(cairo_t* cr, double cx, double cy, double rx, double ry);

// Small deterministic noise in [0, 1) from integer coordinates and a seed.
double hashNoise(int x, int y, std::uint32_t seed);

enum class FontStyle { Bold, BoldItalic };
// Selects Liberation Sans at the given pixel size, with hinting off so the
// result does not depend on the display's font settings.
void selectFont(cairo_t* cr, FontStyle style, double size);

// Lets go of the fonts and the font library's caches (so leak checkers see a clean exit).
void releaseFonts();

enum class Align { Left, Centre, Right };
// Adds the text outline to the path with its baseline's anchor at (x, y).
void textPath(cairo_t* cr, std::string_view text, double x, double y, Align align);
// Fills text in one colour with a soft one-pixel shadow below right.
void engrave(cairo_t* cr, std::string_view text, double x, double y, Align align, Rgb color,
             double shadowAlpha = 0.45);

// Paints the whole canvas with brushed grey metal, lit from the top.
void brushedMetal(Canvas& canvas, std::uint32_t seed);

// A raised or sunken bevel ring around a rounded rectangle.
void bevelFrame(cairo_t* cr, double x, double y, double w, double h, double r, double width,
                bool sunken);

// A band shaded from top to bottom colour, with a light rule across it at ruleY (a pixel row).
void shadedBand(cairo_t* cr, double x, double y, double w, double h, Rgb top, Rgb bottom,
                double ruleY, Rgb rule, double ruleWidth);

// A dark display window (for meters and the like) with a sunken bevel.
void meterWindow(cairo_t* cr, double x, double y, double w, double h, Rgb inside);

enum class ButtonMark { Help, Exit, Coin, Ok, Left, Right, Ring, Tilde, Play, List };
// Inviting: the bright glossy green of the play controls. Muted: a smaller, darker, duller dome
// in a dark bezel, for a control a player should not press by accident.
enum class ButtonFinish { Inviting, Muted };
// A glossy round dark-green push button; its bezel is the circle of the given radius centred at
// (cx, cy), with a shadow falling down and right.
void pushButton(cairo_t* cr, double cx, double cy, double radius, ButtonMark mark,
                ButtonFinish finish = ButtonFinish::Inviting);
// A recessed ring in the panel under a push button, so a pressed button shows a socket.
void buttonSocket(cairo_t* cr, double cx, double cy, double radius);

// A dark blue panel with a chrome rim, a drop shadow and a soft light in its upper part.
void bluePanel(cairo_t* cr, double x, double y, double w, double h, double r);

// The broad diagonal sheen of light across the whole 800 x 600 front.
void frontSheen(cairo_t* cr);

// Strokes the current path, and clears it, as the trim round the machine: a chrome edge round
// a bright blue band.
void trimStroke(cairo_t* cr);

// A slotted chrome screw head of radius 4 centred on (x, y).
void screw(cairo_t* cr, double x, double y);

// The two red triangles that point at the pay line from both sides of a reel window: their
// bases on x = left and x = right, half a base above and below y, depth pixels deep.
void payLineMarkers(cairo_t* cr, double left, double right, double y, double half, double depth);

// Draws reel symbol 1 to 10, or 0 for the melon above symbol 1, into the square
// (x, y, size, size).
void drawSymbol(cairo_t* cr, int symbol, double x, double y, double size);
// Draws the symbol at the scale of a square of 'size' with the middle of everything it paints
// (shadows, stems and leaves too) at (cx, cy), shrunk further if that would not fit a square of
// 'fit', so no part of it reaches past the square.
void drawSymbolCentred(cairo_t* cr, int symbol, double cx, double cy, double size, double fit);
// A white tile with rounded corners and a thin dark edge, 'side' pixels square and centred on
// (cx, cy), with the symbol drawn centred on it as drawSymbolCentred draws it.
void symbolTile(cairo_t* cr, int symbol, double cx, double cy, double side, double size,
                double fit);

// A glossy ball lit from the top left, in the given light, middle and dark colours, with the
// reflection of a window on its upper left.
void glossyBall(cairo_t* cr, double cx, double cy, double r, Rgb light, Rgb mid, Rgb dark);

}  // namespace fruvana::assetgen
