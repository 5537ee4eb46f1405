// The parts a language draws over a picture: a part of another picture is passed over in
// silence, and one that cannot be read is left out with one line on stderr, the rest drawn.

#include "presentation/asset_catalogue.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "platform/platform.h"

namespace fruvana {
namespace {

TEST(PictureParts, AnUnreadablePartIsLeftOutWithOneLineAndTheOthersAreDrawn) {
    Picture words(2, 1);
    words.fill(Rgb{255, 0, 0});
    const std::vector<std::uint8_t> readable = saveBmp(words);
    const std::vector<std::uint8_t> cut(readable.begin(), readable.begin() + 20);
    auto part = [](std::string_view name, const std::vector<std::uint8_t>& bytes) {
        return EmbeddedAsset{AssetKind::TranslatedPart, name, bytes.data(),
                             bytes.data() + bytes.size()};
    };
    const std::array parts{part("de/game-panel-0-0", cut), part("de/game-panel-1-2", readable),
                           part("de/game-panel-big-0-3", readable)};
    Picture picture(4, 4);
    Picture expected = picture;
    expected.fill(Rect{1, 2, 2, 1}, Rgb{255, 0, 0});

    ::testing::internal::CaptureStderr();
    drawPictureParts(picture, "de/game-panel-", parts);
    const std::string said = ::testing::internal::GetCapturedStderr();

    EXPECT_EQ(picture, expected);
    const std::string opening = "Fruvana: the picture part de/game-panel-0-0 is left out: ";
    EXPECT_TRUE(said.starts_with(opening)) << said;
    EXPECT_GT(said.size(), opening.size() + 1) << "no reason given: " << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
}

}  // namespace
}  // namespace fruvana
