// Reads a screenshot of the game (a BMP) and says what the cabinet shows: the symbol of each
// still reel and the look of the lamps, by comparing the screen's pixels with what the game's
// own drawing code makes of its pictures, and the figures of the meters, by comparing each
// figure's cell with the committed picture of the ten figures (tests/golden/meter_digits.png),
// so a meter the game draws wrongly reads wrongly here.
//
//   screen_check SHOT.bmp WIDTH HEIGHT
// prints one line:
//   reels S1 S2 S3 credit C win W bet B m1 P lamps L1 L2 L3
// where a reel that shows no still picture is "?", a meter that shows no figure "?", and a
// lamp is blank, red, green or "?".
//
//   screen_check SHOT.bmp WIDTH HEIGHT recall
// reads the game recall instead, by comparing each small symbol with the committed picture of
// the ten (tests/golden/recall_symbols.png), and prints
//   recall A.B.C D.E.F ...
// the first deal's symbols of each of the ten rows, newest first, "-" for an empty row and "?"
// for a symbol it does not know.

#include <cstdio>
#include <string>
#include <vector>

#include "presentation/cabinet_layout.h"
#include "presentation/layout.h"
#include "presentation/reel_animation.h"
#include "tests/golden/golden.h"
#include "tests/support/files.h"
#include "tests/support/pictures.h"

namespace fruvana {
namespace {

namespace L = layout;

Picture cut(const Picture& shot, CabinetOrigin o, L::Offset at, int w, int h) {
    Picture out(w, h);
    blit(shot, Rect{o.x + at.x, o.y + at.y, w, h}, out, 0, 0);
    return out;
}

// The figures are 13 x 18 cells: 0 to 9, then an empty cell.
constexpr int kEmptyCell = 10;

// Which cell of the figures picture the cell at x of the meter equals, or -1 for none.
int figureAt(const Picture& meter, int x, const Picture& figures) {
    for (int f = 0; f <= kEmptyCell; ++f) {
        bool same = true;
        for (int y = 0; y < 18 && same; ++y)
            for (int dx = 0; dx < 13 && same; ++dx)
                same = meter.pixel(x + dx, y) == figures.pixel(13 * f + dx, y);
        if (same) return f;
    }
    return -1;
}

// The number a meter shows: its figures after the empty cells on the left.
std::string meter(const Picture& shot, CabinetOrigin o, L::Offset at, int digits,
                  const Picture& figures) {
    const Picture seen = cut(shot, o, at, 13 * digits, 18);
    std::string shown;
    for (int k = 0; k < digits; ++k) {
        const int f = figureAt(seen, 13 * k, figures);
        if (f < 0 || (f == kEmptyCell && !shown.empty())) return "?";
        if (f != kEmptyCell) shown += static_cast<char>('0' + f);
    }
    return shown.empty() ? "?" : shown;
}

std::string lamp(const Picture& shot, CabinetOrigin o, L::Offset at, const Picture& cabinet,
                 const Picture& lampRed, const Picture& lampGreen) {
    const Picture seen = cut(shot, o, at, L::kLamp.w, L::kLamp.h);
    auto looksLike = [&](const Picture* lit) {
        const Rgb key = lit != nullptr ? lit->pixel(0, lit->height() - 1) : Rgb{};
        for (int y = 0; y < L::kLamp.h; ++y) {
            for (int x = 0; x < L::kLamp.w; ++x) {
                Rgb want = cabinet.pixel(at.x + x, at.y + y);
                if (lit != nullptr && lit->pixel(x, y) != key) want = lit->pixel(x, y);
                if (seen.pixel(x, y) != want) return false;
            }
        }
        return true;
    };
    if (looksLike(nullptr)) return "blank";
    if (looksLike(&lampRed)) return "red";
    if (looksLike(&lampGreen)) return "green";
    return "?";
}

// The recall's rows: the table's place, its rows' height, the first deal's column, and the
// small symbols' size and spacing.
constexpr L::Offset kRecallFirstSymbol{28 + 96 + 40 + 4, 104 + 34 + 2};
constexpr int kRecallRow = 34;
constexpr int kSmall = 24;
constexpr int kSmallStep = 28;

std::string recallRows(const Picture& shot, CabinetOrigin o, const Picture& symbols) {
    std::string line = "recall";
    for (int row = 0; row < 10; ++row) {
        std::string cells;
        bool empty = true;
        for (int n = 0; n < 3; ++n) {
            const Picture seen = cut(
                shot, o,
                {kRecallFirstSymbol.x + n * kSmallStep, kRecallFirstSymbol.y + row * kRecallRow},
                kSmall, kSmall);
            std::string symbol = "?";
            for (int s = 0; s < kSymbolCount; ++s) {
                Picture known(kSmall, kSmall);
                blit(symbols, Rect{s * kSmall, 0, kSmall, kSmall}, known, 0, 0);
                if (known == seen) {
                    symbol = std::to_string(s + 1);
                    empty = false;
                }
            }
            cells += (n > 0 ? "." : "") + symbol;
        }
        line += " " + (empty ? std::string("-") : cells);
    }
    return line;
}

int run(int argc, char** argv) {
    const bool recall = argc == 5 && std::string(argv[4]) == "recall";
    if (argc != 4 && !recall) {
        std::fprintf(stderr, "usage: screen_check SHOT.bmp WIDTH HEIGHT [recall]\n");
        return 2;
    }
    const std::optional<Picture> shot = loadBmp(testing::readFile(argv[1]));
    if (!shot) {
        std::fprintf(stderr, "screen_check: %s is not a picture\n", argv[1]);
        return 2;
    }
    const CabinetOrigin o = cabinetOrigin(std::stoi(argv[2]), std::stoi(argv[3]));
    if (recall) {
        std::string error;
        const std::optional<Picture> symbols =
            golden::readPng(golden::goldenPath("recall_symbols"), error);
        if (!symbols) {
            std::fprintf(stderr, "screen_check: no picture of the small symbols: %s\n",
                         error.c_str());
            return 2;
        }
        std::printf("%s\n", recallRows(*shot, o, *symbols).c_str());
        return 0;
    }
    const ReelShading shading(testing::gamePicture("reel_strip"),
                              testing::gamePicture("reel_blur_1"),
                              testing::gamePicture("reel_blur_2"));
    std::string error;
    const std::optional<Picture> figures =
        golden::readPng(golden::goldenPath("meter_digits"), error);
    if (!figures || figures->width() != 13 * (kEmptyCell + 1) || figures->height() != 18) {
        std::fprintf(stderr, "screen_check: no picture of the figures: %s\n",
                     figures ? "not 143 x 18 pixels" : error.c_str());
        return 2;
    }
    const Picture cabinet = testing::gamePicture("cabinet");
    const Picture lampRed = testing::gamePicture("lamp_red");
    const Picture lampGreen = testing::gamePicture("lamp_green");

    std::string line = "reels";
    for (L::Offset at : L::kReelsAt) {
        const Picture seen = cut(*shot, o, at, 122, 122);
        std::string symbol = "?";
        for (int s = 1; s <= kSymbolCount; ++s) {
            Picture still(122, 122);
            shading.drawStill(s, still);
            if (still == seen) symbol = std::to_string(s);
        }
        line += " " + symbol;
    }
    line += " credit " + meter(*shot, o, L::kCreditMeterAt, 7, *figures);
    line += " win " + meter(*shot, o, L::kWinMeterAt, 7, *figures);
    line += " bet " + meter(*shot, o, L::kBetMeterAt, 2, *figures);
    line += " m1 " + meter(*shot, o, L::kPrizeMetersAt[0], 4, *figures);
    line += " lamps";
    for (L::Offset at : L::kLampsAt) line += " " + lamp(*shot, o, at, cabinet, lampRed, lampGreen);
    std::printf("%s\n", line.c_str());
    return 0;
}

}  // namespace
}  // namespace fruvana

int main(int argc, char** argv) {
    return fruvana::run(argc, argv);
}
