#pragma once
// How the game's own frame sits in the window: whole-number scaling on large screens, and the
// mapping of window points back to the game's pixels. Integer arithmetic only.

#include <cstdint>
#include <optional>

#include "platform/input_event.h"
#include "platform/picture.h"

namespace fruvana {

inline constexpr int kGameWidth = 800;
inline constexpr int kGameHeight = 600;

struct Placement {
    int left = 0;  // where the shown part's top-left corner lands in the window
    int top = 0;
    int scale = 1;
    friend bool operator==(const Placement&, const Placement&) = default;
};

// The whole-number scale for a screen: 1 below twice 800 x 600 in either direction, else the
// largest that fits, min(width div 800, height div 600).
int wholeScale(int screenWidth, int screenHeight);

// The scale of the window mode: the largest whole scale whose 800 x 600 window fits in nine
// tenths of the screen, at least 1.
int windowScale(int screenWidth, int screenHeight);

// The 800 x 600 cabinet rectangle, centred in the game's frame as the layout centres it.
Rect cabinetRect(const Rect& frame);

// A window point as a point of the game's frame, of which the part `shown` is presented. A
// press outside the shown part hits nothing; a release there is kept inside it, so the
// picture that took the press still hears its release.
std::optional<InputEvent> toGame(InputEvent event, const Placement& placement, Rect shown);

// Copies the part `part` of src (24-bit, blue-green-red) into a 32-bit picture of
// 0x00RRGGBB pixels, each source pixel becoming scale x scale pixels, with the part's top-left
// corner landing on (left + part.x x scale, top + part.y x scale) less shown's corner.
// Nothing lands outside the destination's width and height.
void scaleInto(const Picture& src, Rect part, const Placement& placement, Rect shown,
               std::uint8_t* dst, int dstPitch, int dstWidth, int dstHeight);

}  // namespace fruvana
