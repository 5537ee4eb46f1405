#pragma once
// The arithmetic of the game window: where the cabinet stands on a screen of any size, and
// how the background tile covers the screen.

#include "platform/picture.h"

namespace fruvana {

// The screen position of the cabinet's top-left corner (`originX`, `originY`).
struct CabinetOrigin {
    int x = 0;
    int y = 0;
    friend bool operator==(const CabinetOrigin&, const CabinetOrigin&) = default;
};

// Centres the 800 x 600 cabinet; the division drops the fraction (towards zero), and a
// screen smaller than the cabinet gives a negative origin.
CabinetOrigin cabinetOrigin(int screenWidth, int screenHeight);

struct TileGrid {
    int columns = 0;
    int rows = 0;
    friend bool operator==(const TileGrid&, const TileGrid&) = default;
};

// Tiles laid over the screen: one more column and row than fit whole, so the edges are
// always covered.
TileGrid backgroundTiles(int screenWidth, int screenHeight);

// Fills background (the size of the screen) with copies of tile, column i and row j
// (from 1) at ((i - 1) x 150, (j - 1) x 150); what falls off the edge is cut away.
void tileBackground(const Picture& tile, Picture& background);

}  // namespace fruvana
