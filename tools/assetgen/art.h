#pragma once
// The pictures of the game window and of the settings window, by catalogue name.

#include <filesystem>
#include <string>
#include <vector>

#include "tools/assetgen/canvas.h"

namespace fruvana::assetgen {

struct NamedPicture {
    std::string name;
    Canvas canvas;
};

std::vector<NamedPicture> gamePictures();
std::vector<NamedPicture> settingsPictures();
// The game recall's panel, in the settings screen's finish.
Canvas recallPanel();
// The preferences screen's panel, in the same finish, and the reality check's small panel.
Canvas preferencesPanel();
Canvas realityCheckPanel();

// The game's icon: the picture the window shows (64 x 64, see-through around the badge), and
// the menu icons written as PNG files of 48, 64, 128 and 256 pixels and a scalable SVG.
Canvas windowIcon();
void writeIcons(const std::filesystem::path& folder);

// Colours that a window treats as see-through, taken from a picture's bottom-left pixel.
inline constexpr Rgb kCabinetKey{0, 0, 0};
inline constexpr Rgb kIntroKey{6, 9, 18};
inline constexpr Rgb kLampKey{0, 0, 255};

// Gives every pixel outside the shape (the current path of a fresh 'shape' context) the
// key colour and moves pixels inside off the key, so only the surroundings are see-through.
void applySeeThrough(Canvas& canvas, Rgb key, void (*shape)(cairo_t*));

}  // namespace fruvana::assetgen
