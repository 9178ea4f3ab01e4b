// Conversion of decoded pixels to PSX texels: channel rounding, the
// semi-transparency (STP) rule, CLUT order, the three depths with their
// fallback texts, the settings, the TIM bytes and the out-of-memory paths.
// Expected CLUT words and texels are written out.
#include "AllocationHook.h"
#include "CapturingReporter.h"
#include "TgaWriter.h"
#include "convert/PsxConvert.h"

#include <gtest/gtest.h>

namespace
{

using tgawriter::Rgba; // R, G, B, A as a decoded pixel

// clang-format off
struct Converted { std::optional<TimImage> image; std::string out; };
// clang-format on

// `kept`: the colour table of the texture before, for a palette-only one.
Converted convert(const ConversionSettings& settings, int width, std::vector<Rgba> pixels,
                  ColourTable* kept = nullptr)
{
    ColourTable own;
    ColourTable& colours = kept ? *kept : own;
    CapturingReporter reporter;
    const int height = width > 0 ? static_cast<int>(pixels.size()) / width : 0;
    std::optional<TimImage> image = ConvertToPsx(
        settings, colours, reporter, reinterpret_cast<uint8_t*>(pixels.data()), width, height, "T.TGA");
    return {std::move(image), reporter.output()};
}

// Pixel i gets colour number i % count: red (number % 32) x 8, green
// (number / 32) x 8, so PSX colour `number` once reduced (STP by `alpha`).
std::vector<Rgba> numbered(int count, int size, uint8_t alpha)
{
    std::vector<Rgba> pixels;
    for (int i = 0; i < size; ++i)
        pixels.push_back(
            {static_cast<uint8_t>(i % count % 32 * 8), static_cast<uint8_t>(i % count / 32 * 8), 0, alpha});
    return pixels;
}

const std::string kNot4 = "Image T.TGA with 17 colours couldn't be saved as 4 BPP.\n";

TEST(Convert, DepthClutAndTexelsOfEachPicture)
{
    // clang-format off
    const std::vector<uint16_t> clut16 = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    const std::vector<uint16_t> clut17 = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    const std::vector<uint8_t> texels17 = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 0}; // padded to even
    const std::vector<uint8_t> offset17 = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 0}; // not the padding
    // clang-format on
    // The rest of the CLUT is 0; empty texels are not checked.
    // clang-format off
    const struct { const char* what; ConversionSettings settings; int width; std::vector<Rgba> pixels; TimKind kind;
                   std::vector<uint16_t> clut; std::size_t clutSize; std::vector<uint8_t> texels; std::string out; } cases[] = {
    // clang-format on
        // Channels round to the nearest 5-bit value and stop at 31; alpha 0
        // sets STP except on black, which stays the transparent 0; the CLUT
        // is in PSX order, opaque black after transparent black; the left
        // pixel of a pair is the low nibble.
        // clang-format off
        {"rounding and STP", {}, 8,
         {{0, 0, 0, 0}, {3, 3, 3, 0}, {4, 4, 4, 0}, {255, 252, 251, 255}, {12, 0, 0, 255}, {0, 0, 248, 0},
          {0, 0, 0, 255}, {11, 0, 0, 0}},
         TimKind::Indexed4, {0x0000, 0x0000, 0x8001, 0x0002, 0x8421, 0xFC00, 0x7FFF}, 16, {0x00, 0x64, 0x53, 0x21}, ""},
        {"16 colours stay 4-bit", {}, 16, numbered(16, 16, 255), TimKind::Indexed4, clut16, 16,
         {0x10, 0x32, 0x54, 0x76, 0x98, 0xBA, 0xDC, 0xFE}, ""},
        {"17 colours become 8-bit, rows padded to even", {}, 17, numbered(17, 17, 255), TimKind::Indexed8,
         clut17, 256, texels17, kNot4 + "defaulting to 8 BPP.\n"},
        {"ClutSize8 shortens the CLUT", {.ClutSize8 = 4}, 17, numbered(17, 17, 255), TimKind::Indexed8, {0, 1, 2, 3}, 4,
         texels17, kNot4 + "defaulting to 8 BPP.\n"},
        {"IndexOffset shifts 8-bit texels", {.IndexOffset = 1}, 17, numbered(17, 17, 255), TimKind::Indexed8,
         clut17, 256, offset17, kNot4 + "defaulting to 8 BPP.\n"},
        {"16 bits: red in the low bits", {.TargetDepth = 16}, 4,
         {{8, 0, 0, 0}, {0, 0, 8, 255}, {0, 0, 0, 0}, {255, 128, 0, 255}},
         TimKind::Direct16, {}, 0, {0x01, 0x80, 0x00, 0x04, 0x00, 0x00, 0x1F, 0x02}, ""},
        {"16-bit fallback", {.FallbackDepth = 16}, 17, numbered(17, 17, 255), TimKind::Direct16, {}, 0, {}, kNot4 + "defaulting to 16 BPP.\n"},
        {"257 colours", {}, 257, numbered(257, 257, 0), TimKind::Direct16, {}, 0, {},
         "Image T.TGA with 257 colours couldn't be saved as 4 BPP.\ndefaulting to 8 BPP.\n"
         "Image T.TGA couldn't be saved as 8 BPP.\ndefaulting to 16 BPP.\n"},
        // clang-format on
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        const Converted converted = convert(c.settings, c.width, c.pixels);
        ASSERT_TRUE(converted.image);
        const TimImage& image = *converted.image;
        EXPECT_EQ(image.Kind, c.kind);
        std::vector<uint16_t> clut = c.clut;
        clut.resize(c.clutSize);
        EXPECT_EQ(image.Clut, clut);
        EXPECT_EQ(image.PixelWidth, c.width);
        EXPECT_EQ(image.Height, 1);
        EXPECT_TRUE(c.texels.empty() || image.Texels == c.texels) << testing::PrintToString(image.Texels);
        EXPECT_EQ(converted.out, c.out);
    }
}

TEST(Convert, TimBytesOfEachLayout)
{
    const Converted fourBit = convert({}, 3, {{0, 0, 0, 0}, {8, 0, 0, 0}, {0, 8, 0, 255}});
    ASSERT_TRUE(fourBit.image);
    // clang-format off
    EXPECT_EQ(EncodeTim(*fourBit.image), (std::vector<uint8_t>{
        0x10, 0, 0, 0, 0x08, 0, 0, 0,                      // id, flags: 4-bit with a CLUT
        0x2C, 0, 0, 0, 0, 0, 0xE0, 0x01, 0x10, 0, 0x01, 0, // CLUT block: 44 bytes at (0, 480), 16 x 1
        0x00, 0x00, 0x01, 0x80, 0x20, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0x0E, 0, 0, 0, 0x80, 0x02, 0, 0, 0x03, 0, 0x01, 0, // pixel block: 14 bytes at (640, 0), 3 x 1
        0x10, 0x02}));                                     // texels 0 1 | 2 and the padding
    // clang-format on
    const Converted direct = convert({.TargetDepth = 16}, 2, {{8, 0, 0, 0}, {0, 0, 8, 255}});
    ASSERT_TRUE(direct.image);
    EXPECT_EQ(EncodeTim(*direct.image),
              (std::vector<uint8_t>{0x10, 0,    0, 0, 0x02, 0, 0,    0, 0x10, 0,    0,    0,
                                    0x80, 0x02, 0, 0, 0x02, 0, 0x01, 0, 0x01, 0x80, 0x00, 0x04}));
}

// A palette-only texture keeps the table of the texture before it and takes
// each entry's colour from the pixel where that colour was first seen.
TEST(Convert, PaletteOnlyTakesColoursAtTheEarlierFirstPixels)
{
    ColourTable colours;
    ASSERT_TRUE(convert({}, 4, {{16, 0, 0, 0}, {8, 0, 0, 0}, {16, 0, 0, 0}, {0, 0, 0, 0}}, &colours).image);
    // Entries: black first seen at pixel 3, red 1 at pixel 1, red 2 at pixel 0.
    const Converted second = convert(
        {.PaletteOnly = true}, 4, {{0, 8, 0, 0}, {0, 0, 248, 0}, {0, 0, 248, 0}, {0, 16, 0, 255}}, &colours);
    ASSERT_TRUE(second.image);
    EXPECT_EQ(second.image->Clut,
              (std::vector<uint16_t>{0x0040, 0xFC00, 0x8020, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(second.image->Texels, (std::vector<uint8_t>{0x12, 0x01}));
}

TEST(Convert, FailedAllocationsAreReportedAfterTheFallbackTexts)
{
    // clang-format off
    const std::tuple<int, std::size_t, std::string> cases[] = {
        // colours, the size that fails, the texts
        {2, 250 * 2 * 3, "Error allocating memory for 4 bit downgrade buffer.\n"},
        {17, 1000 * 3, kNot4 + "defaulting to 8 BPP.\nError allocating memory for 8 bit downgrade buffer.\n"},
        {300, 1000 * 3 * 2, "Image T.TGA with 300 colours couldn't be saved as 4 BPP.\ndefaulting to 8 BPP.\n"
                            "Image T.TGA couldn't be saved as 8 BPP.\ndefaulting to 16 BPP.\nError allocating memory for PSX sprite data.\n"},
    };
    // clang-format on
    for (const auto& [count, failing, out] : cases)
    {
        failNextAllocationOf(failing);
        const Converted converted = convert({}, 1000, numbered(count, 1000 * 3, 0));
        cancelAllocationFailure();
        EXPECT_FALSE(converted.image) << count;
        EXPECT_EQ(converted.out, out);
    }
}

TEST(Convert, SizesATimCannotHoldAreRefusedSilently)
{
    CapturingReporter reporter;
    ColourTable colours;
    Rgba pixel{};
    for (const auto& [width, height] : {std::pair{-1, 1}, {1, -1}, {65536, 0}, {0, 65536}})
        EXPECT_FALSE(ConvertToPsx({}, colours, reporter, &pixel.r, width, height, "N.TGA")) << width;
    EXPECT_EQ(reporter.output(), "");
    const Converted empty = convert({}, 0, {});
    ASSERT_TRUE(empty.image) << "an empty picture is an empty 4-bit texture";
    EXPECT_EQ(empty.image->Kind, TimKind::Indexed4);
}

} // namespace
