// Keeps the font lookup's configuration loaded for the whole run, so each input that opens
// fonts does not load it afresh when the last one's fonts closed.
#include <memory>
#include <string>

#include "platform/text.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static std::shared_ptr<fruvana::Font> keptOpen;
    std::string error;
    keptOpen = fruvana::Font::open(fruvana::FontRequest{}, error);
    return 0;
}
