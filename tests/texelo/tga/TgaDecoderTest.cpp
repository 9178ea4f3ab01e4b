// Decoding of good files: every depth plain and run-length, colour maps,
// row order and the colour conversion.
#include "DecodeRun.h"

#include <gtest/gtest.h>

namespace
{

using namespace tgatest;
using tgawriter::ColourMap;
using tgawriter::TgaImage;

// Runs of equal pixels (for run packets, some longer than 128) between
// varied ones (for raw packets).
std::vector<Rgba> testPicture(int width, int height)
{
    std::vector<Rgba> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            if (y == 1 || (x / 9 + y) % 3 == 0)
                pixels.push_back({200, 100, 48, 255});
            else
                pixels.push_back({static_cast<uint8_t>(x * 37 + y), static_cast<uint8_t>(x * 11 ^ y * 5),
                                  static_cast<uint8_t>(255 - x), static_cast<uint8_t>(x + y * 3)});
        }
    return pixels;
}

// What the decoder must make of a colour stored at `depth` bits.
Rgba decodedColour(Rgba colour, int depth)
{
    if (depth == 15 || depth == 16)
        return {static_cast<uint8_t>(colour.r & 0xF8), static_cast<uint8_t>(colour.g & 0xF8),
                static_cast<uint8_t>(colour.b & 0xF8), 0};
    if (depth == 24)
        colour.a = 0;
    return colour;
}

std::vector<Rgba> upsideDown(const std::vector<Rgba>& pixels, int width, int height)
{
    std::vector<Rgba> flipped;
    for (int y = height - 1; y >= 0; --y)
        flipped.insert(flipped.end(), pixels.begin() + y * width, pixels.begin() + (y + 1) * width);
    return flipped;
}

// A file of the given pixel depth whose pixel data is given byte by byte.
Bytes literalFile(int width, int height, uint8_t depth, bool rle, const Bytes& pixelData)
{
    TgaImage tga{.width = width, .height = height, .depth = depth, .rle = rle};
    tga.pixelData = pixelData;
    return encodeTga(tga);
}

TEST(TgaRoundTrip, DirectColourAtEveryDepthPlainAndRunLength)
{
    const int width = 300, height = 5; // rows longer than two full packets
    const std::vector<Rgba> picture = testPicture(width, height);
    for (uint8_t depth : {15, 16, 24, 32})
        for (bool rle : {false, true})
            for (bool topDown : {false, true})
            {
                SCOPED_TRACE(testing::Message()
                             << "depth " << int{depth} << " rle " << rle << " topDown " << topDown);
                TgaImage tga = tgawriter::fromColours(width, height, picture, depth);
                tga.rle = rle;
                tga.topDown = topDown;
                const DecodeRun run = decode(encodeTga(tga));
                ASSERT_EQ(run.result, 1);
                EXPECT_EQ(run.image.Width, width);
                EXPECT_EQ(run.image.Height, height);
                std::vector<Rgba> expected;
                for (Rgba colour : picture)
                    expected.push_back(decodedColour(colour, depth));
                // The descriptor's origin bit is ignored: top-down files come out upside down.
                EXPECT_EQ(pixelsOf(run.image), topDown ? upsideDown(expected, width, height) : expected);
                EXPECT_EQ(run.standardError, "");
                EXPECT_TRUE(run.repaints.empty());
            }
}

TEST(TgaRoundTrip, ColourMappedWithEveryEntrySize)
{
    const int width = 140, height = 4;
    std::vector<Rgba> palette;
    for (int i = 0; i < 40; ++i)
        palette.push_back({static_cast<uint8_t>(i * 6), static_cast<uint8_t>(255 - i),
                           static_cast<uint8_t>(i * 3), static_cast<uint8_t>(i + 100)});
    std::vector<uint8_t> indices;
    for (int i = 0; i < width * height; ++i)
        indices.push_back(static_cast<uint8_t>(i % 50 < 20 ? 7 : i % 40));
    for (uint8_t entryBits : {15, 16, 24, 32})
        for (bool rle : {false, true})
            for (bool topDown : {false, true})
            {
                SCOPED_TRACE(testing::Message()
                             << "entry " << int{entryBits} << " rle " << rle << " topDown " << topDown);
                TgaImage tga = tgawriter::indexedImage(width, height, indices, palette, entryBits);
                tga.rle = rle;
                tga.topDown = topDown;
                tga.id = Bytes(255, 0xEE);
                const DecodeRun run = decode(encodeTga(tga));
                ASSERT_EQ(run.result, 1);
                std::vector<Rgba> expected;
                for (uint8_t index : indices)
                    expected.push_back(decodedColour(palette[index], entryBits));
                EXPECT_EQ(pixelsOf(run.image), topDown ? upsideDown(expected, width, height) : expected);
            }
}

TEST(TgaColours, StoredBytesBecomeRgba)
{
    // 24 bits store B, G, R.
    EXPECT_EQ(pixelsOf(decode(literalFile(1, 1, 24, false, {0x10, 0x20, 0x30})).image),
              (std::vector<Rgba>{{0x30, 0x20, 0x10, 0}}));
    // 32 bits store B, G, R, A and keep alpha.
    EXPECT_EQ(pixelsOf(decode(literalFile(1, 1, 32, false, {0x10, 0x20, 0x30, 0x80})).image),
              (std::vector<Rgba>{{0x30, 0x20, 0x10, 0x80}}));
    // 15/16 bits: 5-bit channels shifted up (31 gives 248), bit 15 ignored, alpha 0.
    for (uint8_t depth : {15, 16})
    {
        const Bytes values = {0xFF, 0xFF, 0x00, 0x80, 0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0x21, 0x04};
        EXPECT_EQ(pixelsOf(decode(literalFile(6, 1, depth, false, values)).image),
                  (std::vector<Rgba>{{248, 248, 248, 0},
                                     {0, 0, 0, 0},
                                     {248, 0, 0, 0},
                                     {0, 248, 0, 0},
                                     {0, 0, 248, 0},
                                     {8, 8, 8, 0}}));
    }
}

TEST(TgaRows, FirstStoredRowBecomesBottomRow)
{
    const Bytes stored = {1, 1, 1, 2, 2, 2, /* second stored row */ 3, 3, 3, 4, 4, 4};
    const DecodeRun run = decode(literalFile(2, 2, 24, false, stored));
    ASSERT_EQ(run.result, 1);
    EXPECT_EQ(pixelsOf(run.image),
              (std::vector<Rgba>{{3, 3, 3, 0}, {4, 4, 4, 0}, {1, 1, 1, 0}, {2, 2, 2, 0}}));
}

TEST(TgaColourMap, IndexOutsideTheMapGivesZerosAndDecodingGoesOn)
{
    TgaImage tga{.width = 6, .height = 1, .depth = 8, .values = {9, 10, 13, 14, 0, 255}};
    tga.colourMap =
        ColourMap{.first = 10, .entryBits = 24, .entries = {0x010203, 0x040506, 0x070809, 0x0A0B0C}};
    const DecodeRun run = decode(encodeTga(tga));
    ASSERT_EQ(run.result, 1);
    EXPECT_EQ(pixelsOf(run.image),
              (std::vector<Rgba>{
                  {0, 0, 0, 0}, {1, 2, 3, 0}, {10, 11, 12, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}));
    EXPECT_EQ(run.standardError, "");
}

TEST(TgaColourMap, WiderPixelsAreIndicesWhenAMapIsPresent)
{
    TgaImage tga{.width = 2, .height = 1, .depth = 16, .values = {0x0102, 0x0100}};
    tga.colourMap =
        ColourMap{.first = 0x0100, .entryBits = 32, .entries = {0xFF000000, 0x00000000, 0x80112233}};
    const DecodeRun run = decode(encodeTga(tga));
    ASSERT_EQ(run.result, 1);
    EXPECT_EQ(pixelsOf(run.image), (std::vector<Rgba>{{0x11, 0x22, 0x33, 0x80}, {0, 0, 0, 0xFF}}));
}

TEST(TgaColourMap, UndecodableEntrySizeMattersOnlyForIndicesInsideTheMap)
{
    TgaImage tga{.width = 2, .height = 1, .depth = 8, .values = {0, 200}};
    tga.colourMap = ColourMap{.first = 1, .entryBits = 8, .entries = {1, 2, 3}};
    const DecodeRun run = decode(encodeTga(tga));
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(pixelsOf(run.image), (std::vector<Rgba>(2)));
    EXPECT_EQ(run.standardError, "");
}

TEST(TgaRunLength, RunAndRawPacketsFillRowsAndRestartAtEachRow)
{
    // Bottom row: a run of 4 (0x83). Top row: a raw packet of 3 (0x02), then a run of 1 (0x80).
    const Bytes data = {0x83, 9, 8, 7, 0x02, 1, 1, 1, 2, 2, 2, 3, 3, 3, 0x80, 4, 4, 4};
    const DecodeRun run = decode(literalFile(4, 2, 24, true, data));
    ASSERT_EQ(run.result, 1);
    EXPECT_EQ(pixelsOf(run.image), (std::vector<Rgba>{{1, 1, 1, 0},
                                                      {2, 2, 2, 0},
                                                      {3, 3, 3, 0},
                                                      {4, 4, 4, 0},
                                                      {7, 8, 9, 0},
                                                      {7, 8, 9, 0},
                                                      {7, 8, 9, 0},
                                                      {7, 8, 9, 0}}));
}

TEST(TgaRunLength, ColourMappedRunsLookUpTheirIndex)
{
    TgaImage tga{.width = 3, .height = 1, .depth = 8, .rle = true};
    tga.colourMap = ColourMap{.first = 0, .entryBits = 16, .entries = {0x7C00, 0x001F}};
    tga.pixelData = Bytes{0x81, 1, 0x00, 5};
    const DecodeRun run = decode(encodeTga(tga));
    ASSERT_EQ(run.result, 1);
    EXPECT_EQ(pixelsOf(run.image), (std::vector<Rgba>{{0, 0, 248, 0}, {0, 0, 248, 0}, {0, 0, 0, 0}}));
}

TEST(TgaSize, ZeroWidthOrHeightDecodesToNoPixels)
{
    for (bool rle : {false, true})
        for (auto [width, height] : {std::pair{0, 0}, std::pair{0, 7}, std::pair{9, 0}})
        {
            const Bytes file = literalFile(width, height, 24, rle, {});
            ASSERT_EQ(file.size(), 18u);
            const DecodeRun run = decode(file);
            EXPECT_EQ(run.result, 1);
            EXPECT_EQ(run.image.Width, width);
            EXPECT_EQ(run.image.Height, height);
            EXPECT_TRUE(run.image.pixels.empty());
            EXPECT_EQ(run.standardError, "");
        }
}

} // namespace
