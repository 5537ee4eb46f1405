#include "presentation/layout.h"

#include "presentation/cabinet_layout.h"

namespace fruvana {

CabinetOrigin cabinetOrigin(int screenWidth, int screenHeight) {
    // C++ integer division truncates towards zero, as the layout asks.
    return {(screenWidth - layout::kCabinet.w) / 2, (screenHeight - layout::kCabinet.h) / 2};
}

TileGrid backgroundTiles(int screenWidth, int screenHeight) {
    if (screenWidth < 0 || screenHeight < 0) return {};
    return {screenWidth / layout::kTile + 1, screenHeight / layout::kTile + 1};
}

void tileBackground(const Picture& tile, Picture& background) {
    const TileGrid grid = backgroundTiles(background.width(), background.height());
    for (int i = 1; i <= grid.columns; ++i)
        for (int j = 1; j <= grid.rows; ++j)
            blit(tile, background, (i - 1) * layout::kTile, (j - 1) * layout::kTile);
}

}  // namespace fruvana
