// The PNG decoder on files made by our PNG writer: each colour type to the
// colours a Targa file of the picture gives, palette indices for backdrops,
// then the damaged and oversized files it refuses, with their reasons.
#include "AllocationHook.h"
#include "Bytes.h"
#include "PngWriter.h"
#include "image/PngDecoder.h"

#include <gtest/gtest.h>

namespace
{

using namespace pngwriter;

struct Decoded
{
    int result = -1;
    Bytes pixels; // R, G, B, A, top row first
    std::string reason;
};

Decoded decode(const Bytes& file)
{
    RgbaImage image;
    std::string reason;
    const int result = DecodePng(image, file.data(), file.size(), reason);
    return {result, image.pixels, reason};
}

PngImage png(int type, int depth, std::vector<uint16_t> samples, int width = 2)
{
    const int height = static_cast<int>(samples.size()) / width /
                       (type == 2   ? 3
                        : type == 4 ? 2
                        : type == 6 ? 4
                                    : 1);
    return {.width = width,
            .height = height,
            .colourType = type,
            .bitDepth = depth,
            .samples = std::move(samples)};
}

PngImage with(PngImage image, std::vector<std::array<uint8_t, 3>> palette, std::vector<uint16_t> transparent)
{
    image.palette = std::move(palette);
    image.transparent = std::move(transparent);
    return image;
}

TEST(PngDecode, EveryColourTypeGivesTargaPixels)
{
    PngImage interlaced = png(0, 8, {0, 10, 20, 30, 40, 50, 60, 70, 80}, 3);
    interlaced.interlaced = true;
    const std::tuple<const char*, PngImage, Bytes> cases[] = {
        // clang-format off
        {"RGB has alpha 0, as 24-bit Targa pixels", png(2, 8, {10, 20, 30, 40, 50, 60}), {10, 20, 30, 0, 40, 50, 60, 0}},
        {"RGBA keeps its alpha", png(6, 8, {1, 2, 3, 0, 4, 5, 6, 200}), {1, 2, 3, 0, 4, 5, 6, 200}},
        {"16 bits round to 8", png(6, 16, {0x12FF, 0x1280, 0xFFFF, 0x807F, 0, 0x0080, 0x0181, 0x0182}),
         {0x13, 0x12, 0xFF, 0x80, 0, 0, 1, 2}},
        {"1-bit grey", png(0, 1, {0, 1}), {0, 0, 0, 0, 255, 255, 255, 0}},
        {"4-bit grey", png(0, 4, {5, 15}), {85, 85, 85, 0, 255, 255, 255, 0}},
        {"grey and alpha", png(4, 8, {7, 200, 9, 0}), {7, 7, 7, 200, 9, 9, 9, 0}},
        {"16-bit grey and alpha", png(4, 16, {0x12FF, 0xFFFF, 0, 0}), {0x13, 0x13, 0x13, 0xFF, 0, 0, 0, 0}},
        {"palette without tRNS", with(png(3, 2, {1, 0}), {{1, 2, 3}, {4, 5, 6}}, {}), {4, 5, 6, 0, 1, 2, 3, 0}},
        {"palette with tRNS for its first entry", with(png(3, 8, {0, 1}), {{1, 2, 3}, {4, 5, 6}}, {9}),
         {1, 2, 3, 9, 4, 5, 6, 255}},
        {"grey colour key", with(png(0, 16, {0x1000, 0x2000}), {}, {0x1000}), {16, 16, 16, 0, 32, 32, 32, 255}},
        {"RGB colour key", with(png(2, 8, {1, 2, 3, 4, 5, 6}), {}, {1, 2, 3}), {1, 2, 3, 0, 4, 5, 6, 255}},
        {"interlaced", interlaced, {0, 0, 0, 0, 10, 10, 10, 0, 20, 20, 20, 0, 30, 30, 30, 0, 40, 40, 40, 0,
                                    50, 50, 50, 0, 60, 60, 60, 0, 70, 70, 70, 0, 80, 80, 80, 0}},
        // clang-format on
    };
    for (const auto& [what, image, pixels] : cases)
    {
        SCOPED_TRACE(what);
        const Decoded d = decode(encodePng(image));
        EXPECT_EQ(d.result, 1);
        EXPECT_EQ(d.pixels, pixels);
        EXPECT_EQ(d.reason, "");
    }
}

TEST(PngDecode, PaletteIndicesForBackdrops)
{
    const auto indices = [](const PngImage& image)
    {
        const Bytes file = encodePng(image);
        IndexedPicture picture;
        std::string reason;
        const PngIndexResult result = DecodePngIndices(picture, file.data(), file.size(), reason);
        return std::tuple{result, picture.Width, picture.Height, picture.Indices, reason};
    };
    std::vector<std::array<uint8_t, 3>> palette(16, {1, 1, 1});
    EXPECT_EQ(indices(with(png(3, 4, {15, 0, 7, 1, 2, 3}, 3), palette, {})),
              std::tuple(PngIndexResult::Decoded, 3u, 2u, Bytes{15, 0, 7, 1, 2, 3}, ""));
    EXPECT_EQ(indices(png(2, 8, {1, 2, 3}, 1)), std::tuple(PngIndexResult::NotIndexed, 0u, 0u, Bytes{}, ""));
}

// A grey picture whose header claims another size, its checksum made good.
Bytes claiming(uint32_t width, uint32_t height)
{
    Bytes file = encodePng(png(0, 8, {1, 2}));
    for (int i = 0; i < 4; ++i)
    {
        file.at(16 + i) = static_cast<uint8_t>(width >> (24 - 8 * i));
        file.at(20 + i) = static_cast<uint8_t>(height >> (24 - 8 * i));
    }
    uint32_t crc = 0xFFFFFFFF;
    for (std::size_t at = 12; at < 29; ++at)
    {
        crc ^= file[at];
        for (int bit = 0; bit < 8; ++bit)
            crc = crc >> 1 ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    for (int i = 0; i < 4; ++i)
        file.at(29 + i) = static_cast<uint8_t>(~crc >> (24 - 8 * i));
    return file;
}

TEST(PngDecode, DamagedOrHugeFilesSayWhyAndAllocateNothingLarge)
{
    const Bytes good = encodePng(png(6, 8, std::vector<uint16_t>(64 * 4, 7), 8));
    Bytes badCrc = good;
    badCrc[20] ^= 1;
    Bytes badData = good;
    badData[good.size() - 20] ^= 0xFF;
    const std::tuple<const char*, Bytes, std::string> cases[] = {
        // clang-format off
        {"empty", {}, "truncated: the file ends after 0 bytes"},
        {"not a PNG file", Bytes(40, 'x'), "Not a PNG file"},
        {"header checksum", badCrc, "IHDR: CRC error"},
        {"pixel data damaged", badData, "IDAT: incorrect data check"},
        {"cut before the end chunk", Bytes(good.begin(), good.end() - 12),
         "truncated: the file ends after " + std::to_string(good.size() - 12) + " bytes"},
        {"cut in the pixel data", Bytes(good.begin(), good.begin() + 50), "truncated: the file ends after 50 bytes"},
        {"wider than the largest side", claiming(4097, 1), "4,097 x 1 pixels, beyond the largest side of 4,096"},
        {"taller than the largest side", claiming(1, 4097), "1 x 4,097 pixels, beyond the largest side of 4,096"},
        {"claims a huge picture", claiming(0x7FFFFFFF, 0x7FFFFFFF),
         "2,147,483,647 x 2,147,483,647 pixels, beyond the largest side of 4,096"},
        {"width zero", claiming(0, 1), "Invalid IHDR data"},
        // clang-format on
    };
    ASSERT_EQ(decode(good).result, 1);
    for (const auto& [what, file, reason] : cases)
    {
        SCOPED_TRACE(what);
        resetLargestAllocation();
        const Decoded d = decode(file);
        EXPECT_LT(largestAllocation(), 4096u);
        EXPECT_EQ(d.result, 0);
        EXPECT_EQ(d.reason, reason);
        EXPECT_TRUE(d.pixels.empty());
    }
}

} // namespace
