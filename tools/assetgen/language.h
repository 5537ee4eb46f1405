#pragma once
// The pictures' words in each language the game's catalogues give. The English pictures are
// whole; a language's own are the parts of each picture its words change, cut out, so the
// game draws them over the English picture.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "tools/assetgen/canvas.h"

namespace fruvana::assetgen {

// Draws the pictures that follow in the language of a compiled catalogue under folder
// (<folder>/<language>/LC_MESSAGES/fruvana.mo), or in English when language is empty.
void useLanguage(const std::string& language, const std::filesystem::path& folder);
// The words of a picture in the language being drawn. The catalogues' extraction collects the
// English words given to it.
std::string words(std::string_view english);

// A part of a picture that a language changes: where it goes and what it shows.
struct Patch {
    int x = 0;
    int y = 0;
    Canvas picture;
};
// The parts where translated differs from english (the same picture in another language): each
// group of changed pixels closer than a few pixels to one another is one part, cut out of
// translated with a pixel to spare around it.
std::vector<Patch> patchesBetween(const Canvas& english, const Canvas& translated);

}  // namespace fruvana::assetgen
