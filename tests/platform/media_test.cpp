// Bitmaps and WAV images decoded from memory, including damaged ones.
#include <gtest/gtest.h>

#include <utility>

#include "platform/audio.h"
#include "platform/platform.h"
#include "tests/platform/wav_image.h"

namespace fruvana {
namespace {

using testing::appendLe;

// A 2x2 24-bit bitmap as a file, rows bottom-up, each padded to 8 bytes.
std::vector<std::uint8_t> tinyBmp() {
    std::vector<std::uint8_t> out{'B', 'M'};
    // Each header field as (value, bytes): file size, reserved, pixel offset, header size,
    // width, height, planes, bits per pixel, compression, pixel bytes, resolution x and y,
    // colours used and important.
    constexpr std::pair<std::uint32_t, int> kHeader[] = {
        {54 + 16, 4}, {0, 4}, {54, 4}, {40, 4},   {2, 4},    {2, 4}, {1, 2},
        {24, 2},      {0, 4}, {16, 4}, {2835, 4}, {2835, 4}, {0, 4}, {0, 4}};
    for (const auto& [value, size] : kHeader) appendLe(out, value, size);
    // bottom row: (B,G,R) = (1,2,3) then (4,5,6); top row: (7,8,9) then (10,11,12)
    for (int v : {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0}) {
        out.push_back(static_cast<std::uint8_t>(v));
    }
    return out;
}

TEST(Bitmap, LoadsPixelsTopRowFirst) {
    const auto picture = loadBmp(tinyBmp());
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture->width(), 2);
    ASSERT_EQ(picture->height(), 2);
    EXPECT_EQ(picture->pixel(0, 0), (Rgb{9, 8, 7}));
    EXPECT_EQ(picture->pixel(1, 0), (Rgb{12, 11, 10}));
    EXPECT_EQ(picture->pixel(0, 1), (Rgb{3, 2, 1}));
    EXPECT_EQ(picture->pixel(1, 1), (Rgb{6, 5, 4}));
}

TEST(Bitmap, SavedPictureLoadsBackIdentical) {
    Picture p(5, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            p.setPixel(x, y,
                       {static_cast<std::uint8_t>(x * 40), static_cast<std::uint8_t>(y * 70),
                        static_cast<std::uint8_t>(x + y)});
        }
    }
    const auto bytes = saveBmp(p);
    ASSERT_FALSE(bytes.empty());
    const auto back = loadBmp(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, p);
}

TEST(Bitmap, DamagedImagesNeverCrash) {
    const auto good = tinyBmp();
    EXPECT_FALSE(loadBmp({}));
    std::vector<std::uint8_t> garbage(200, 0xAB);
    EXPECT_FALSE(loadBmp(garbage));
    // Every truncation: none may read past its end (the sanitizer build watches).
    for (std::size_t n = 1; n < good.size(); ++n) {
        const std::vector<std::uint8_t> cut(good.begin(),
                                            good.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_FALSE(loadBmp(cut)) << n;
    }
    // A header that claims an enormous picture.
    auto huge = good;
    huge[18] = 0xFF;
    huge[19] = 0xFF;
    huge[20] = 0xFF;
    huge[21] = 0x7F;
    EXPECT_FALSE(loadBmp(huge));
}

// A refused bitmap says why in one line that names the kind of fault.
struct RefusedBmp {
    const char* name;
    std::vector<std::uint8_t> image;
    const char* fault;
};

std::vector<std::uint8_t> withBitDepth(std::uint8_t bits) {
    auto image = tinyBmp();
    image[28] = bits;
    return image;
}

std::vector<std::uint8_t> firstBytes(std::size_t n) {
    auto image = tinyBmp();
    image.resize(n);
    return image;
}

class RefusedBitmap : public ::testing::TestWithParam<RefusedBmp> {};

TEST_P(RefusedBitmap, SaysWhyInOneLine) {
    std::string why;
    EXPECT_FALSE(loadBmp(GetParam().image, &why));
    EXPECT_NE(why.find(GetParam().fault), std::string::npos) << why;
    EXPECT_EQ(why.find('\n'), std::string::npos) << why;
}

INSTANTIATE_TEST_SUITE_P(
    Table, RefusedBitmap,
    ::testing::Values(RefusedBmp{"Empty", {}, "empty"},
                      RefusedBmp{"NotABitmap", std::vector<std::uint8_t>(200, 0xAB), "not a BMP"},
                      RefusedBmp{"CutHeader", firstBytes(30), "truncated BMP header"},
                      RefusedBmp{"SevenBitsPerPixel", withBitDepth(7), "bit depth (7 bits"},
                      RefusedBmp{"CutPixels", firstBytes(60), "damaged BMP image"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Wav, GameFormatDecodesSampleForSample) {
    const auto samples = test::rampSamples(100);
    const auto sound = decodeWav(test::stereoWav(samples), "ramp");
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->name, "ramp");
    EXPECT_EQ(sound->samples, samples);
    EXPECT_EQ(sound->frames(), 100u);
    EXPECT_EQ(sound->durationMs(), 5u);  // 100 / 22050 s, rounded up
}

TEST(Volume, TheChannelScalesTowardZero) {
    const std::vector<std::int16_t> samples{32767, -32768, 1, -1, 1000, -999};
    const struct {
        int volume;
        std::vector<std::int16_t> out;
    } cases[] = {
        {100, samples},
        {0, {0, 0, 0, 0, 0, 0}},
        {50, {16383, -16384, 0, 0, 500, -499}},
        {10, {3276, -3276, 0, 0, 100, -99}},
    };
    for (const auto& c : cases) {
        std::vector<std::int16_t> out(samples.size(), 77);
        copyAtVolume(out, samples, c.volume);
        EXPECT_EQ(out, c.out) << c.volume << " %";
    }
}

TEST(Wav, OtherFormatsAreConvertedToTheDeviceFormat) {
    // One second of 8-bit mono at 11025 Hz becomes one second of 16-bit stereo at 22050 Hz.
    const std::vector<std::uint8_t> data(11025, 200);
    const auto sound = decodeWav(test::wavImage(data, 1, 11025, 8), "mono");
    ASSERT_TRUE(sound);
    EXPECT_NEAR(static_cast<double>(sound->frames()), 22050.0, 64.0);
    EXPECT_EQ(sound->samples.size() % 2, 0u);
    EXPECT_GT(sound->samples[1000], 0);  // 200 is above the 8-bit midpoint of 128
    EXPECT_EQ(sound->samples[1000], sound->samples[1001]);
}

TEST(Wav, EmptyDataChunkIsASilentSound) {
    const auto sound = decodeWav(test::stereoWav({}), "empty");
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->frames(), 0u);
}

TEST(Wav, DamagedImagesDecodeToNothingOrLessAndNeverCrash) {
    const auto good = test::stereoWav(test::rampSamples(64));
    EXPECT_FALSE(decodeWav({}, "none"));
    std::string why;
    EXPECT_FALSE(decodeWav(std::vector<std::uint8_t>(100, 0x5A), "garbage", &why));
    EXPECT_NE(why.find("not a WAV"), std::string::npos) << why;
    EXPECT_FALSE(decodeWav(test::wavImage({1, 2, 3, 4}, 2, 22050, 16, 0x1234), "unknown codec"));
    EXPECT_FALSE(decodeWav(test::wavImage({1, 2, 3, 4}, 0, 22050, 16), "no channels"));
    for (std::size_t n = 1; n < good.size(); ++n) {
        const std::vector<std::uint8_t> cut(good.begin(),
                                            good.begin() + static_cast<std::ptrdiff_t>(n));
        // After the 44-byte header, the whole stereo frames of four bytes that are there.
        const auto sound = decodeWav(cut, "cut");
        ASSERT_EQ(sound != nullptr, n >= 44) << n;
        if (sound) {
            EXPECT_EQ(sound->samples.size(), (n - 44) / 4 * 2) << n;
        }
    }
}

}  // namespace
}  // namespace fruvana
