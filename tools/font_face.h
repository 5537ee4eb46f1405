#pragma once
// The label font of the tools that draw with Cairo (the asset generator and the simulator's
// plots), found through fontconfig.

#include <cairo.h>

#include <string>

namespace fruvana::tools {

// The Cairo face of Liberation Sans at a fontconfig weight and slant, or of the family
// fontconfig offers in its place, whose name goes to `family`. Only the font's file goes to
// Cairo, so this machine's font rendering settings never change a picture. Null when fontconfig
// finds no file or Cairo cannot use it.
cairo_font_face_t* liberationSansFace(int weight, int slant, std::string& family);

}  // namespace fruvana::tools
