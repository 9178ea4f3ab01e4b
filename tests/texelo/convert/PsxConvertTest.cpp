// The choice of depth, the fallback texts, CLUT size settings, IndexOffset,
// large images and the out-of-memory paths of ConvertToPsx.

#include "ConvertFixture.h"
#include "FailingAllocation.h"

namespace
{

constexpr std::size_t kFourBitHeader = 8 + 12 + 32 + 12;
constexpr std::size_t kEightBitHeader = 8 + 12 + 512 + 12;

TEST_F(ConvertTest, SixteenColoursBecomeFourBitSilently)
{
    TestImage image = TestImage::withColours(16, 4, 16);
    EXPECT_EQ(convert(image), kFourBitHeader + 8 * 4);
    EXPECT_EQ(sprite.size(), kFourBitHeader + 8 * 4);
    EXPECT_EQ(sprite32(4), 8u);
    EXPECT_EQ(reporter.output(), "");
    EXPECT_EQ(reporter.repaints, 0);
}

TEST_F(ConvertTest, SeventeenColoursWarnThenBecomeEightBit)
{
    TestImage image = TestImage::withColours(18, 2, 17);
    EXPECT_EQ(convert(image, "TEX\\WATER.TGA"), kEightBitHeader + 18 * 2);
    EXPECT_EQ(reporter.output(), "Image TEX\\WATER.TGA with 17 colours couldn't be saved as 4 BPP.\n"
                                 "defaulting to 8 BPP.\n");
    EXPECT_EQ(reporter.messageLine(), "Image TEX\\WATER.TGA with 17 colours couldn't be saved as 4 BPP.");
    EXPECT_EQ(reporter.repaints, 1);
    EXPECT_EQ(sprite32(4), 9u);
    EXPECT_EQ(sprite16(16), 256) << "CLUT entries";
    EXPECT_EQ(clutEntry(0), 0x0000);
    for (std::size_t i = 1; i < 17; ++i)
        EXPECT_EQ(clutEntry(i), 0x8000 | i);
    for (std::size_t i = 17; i < 256; ++i)
        EXPECT_EQ(clutEntry(i), 0x0000) << "entry " << i;
    for (std::size_t i = 0; i < 18; ++i)
        EXPECT_EQ(texelByte(i), i % 17);
}

TEST_F(ConvertTest, TwoHundredFiftySevenColoursWarnTwiceThenBecomeSixteenBit)
{
    TestImage image = TestImage::withColours(20, 20, 257);
    image.set(1, 0, {8, 0, 0, 255}); // colour 1, both times opaque: no STP in its texel
    image.set(18, 12, {8, 0, 0, 255});
    EXPECT_EQ(convert(image, "BIG.TGA"), 20u * 20 * 2 + 20);
    EXPECT_EQ(reporter.output(), "Image BIG.TGA with 257 colours couldn't be saved as 4 BPP.\n"
                                 "defaulting to 8 BPP.\n"
                                 "Image BIG.TGA couldn't be saved as 8 BPP.\n"
                                 "defaulting to 16 BPP.\n");
    EXPECT_EQ(reporter.messageLine(), "Image BIG.TGA couldn't be saved as 8 BPP.");
    EXPECT_EQ(reporter.repaints, 2);
    EXPECT_EQ(sprite32(4), 2u) << "no CLUT block";
    EXPECT_EQ(sprite32(8), 12u + 20 * 20 * 2);
    EXPECT_EQ(sprite16(20), 0x0000) << "black";
    EXPECT_EQ(sprite16(22), 0x0001);
    EXPECT_EQ(sprite16(24), 0x8002);
    EXPECT_EQ(sprite16(20 + 2 * 256), 0x8100) << "colour 256 is green 8";
}

TEST_F(ConvertTest, SixteenBitFallbackSkipsTheEightBitAttempt)
{
    settings.FallbackDepth = 16;
    TestImage image = TestImage::withColours(17, 1, 17);
    EXPECT_EQ(convert(image, "A.TGA"), 17u * 2 + 20);
    EXPECT_EQ(reporter.output(), "Image A.TGA with 17 colours couldn't be saved as 4 BPP.\n"
                                 "defaulting to 16 BPP.\n");
}

TEST_F(ConvertTest, SixtyFiveThousandColoursConvertToSixteenBit)
{
    TestImage image(256, 256);
    for (uint32_t i = 0; i < 65536; ++i)
        image.set(static_cast<int>(i % 256), static_cast<int>(i / 256),
                  distinctColour(i & 0x7FFF, i >> 15 ? 255 : 0));
    EXPECT_EQ(convert(image, "ALL.TGA"), 256u * 256 * 2 + 20);
    EXPECT_NE(reporter.output().find("ALL.TGA with 65536 colours"), std::string::npos);
    EXPECT_EQ(sprite16(20 + 2 * 65535), 0x7FFF) << "last pixel: white, opaque";
}

TEST_F(ConvertTest, ImagesBeyondTwoFiftySixSquareConvertWithoutOverflow)
{
    TestImage wide = TestImage::withColours(300, 10, 3000);
    EXPECT_EQ(convert(wide), 300u * 10 * 2 + 20);
    EXPECT_EQ(sprite16(16), 300);
    EXPECT_EQ(sprite16(18), 10);

    TestImage square = TestImage::withColours(300, 300, 3);
    EXPECT_EQ(convert(square), kFourBitHeader + 75 * 2 * 300);
    EXPECT_EQ(sprite.size(), kFourBitHeader + 75 * 2 * 300);
}

// ClutSize8 sets the 8-bit CLUT length, clamped into 1-256; texels still
// index all colours, and 4-bit CLUTs keep 16 entries.
TEST_F(ConvertTest, ClutSize8ShortensTheEightBitClutOnly)
{
    const struct
    {
        int clutSize8;
        uint32_t colours;
        uint16_t entries;
    } cases[] = {{64, 200, 64}, {0, 20, 1}, {1000, 20, 256}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.clutSize8);
        settings.ClutSize8 = c.clutSize8;
        TestImage image = TestImage::withColours(static_cast<int>(c.colours), 1, c.colours);
        EXPECT_EQ(convert(image), 8u + 12 + 2 * c.entries + 12 + c.colours);
        EXPECT_EQ(sprite32(8), 12u + 2 * c.entries);
        EXPECT_EQ(sprite16(16), c.entries);
        const uint32_t last = c.entries - 1u; // colour 0 is black: no STP
        EXPECT_EQ(clutEntry(last), last < c.colours && last != 0 ? 0x8000 | last : 0);
        EXPECT_EQ(texelByte(c.colours - 1), c.colours - 1);
    }
    TestImage small = TestImage::withColours(4, 1, 4);
    EXPECT_EQ(convert(small), kFourBitHeader + 2);
}

TEST_F(ConvertTest, IndexOffsetShiftsEightBitTexelsButNotTheClutOrPadding)
{
    settings.IndexOffset = 1;
    TestImage image = TestImage::withColours(17, 2, 17);
    ASSERT_NE(convert(image), 0u);
    EXPECT_EQ(clutEntry(1), 0x8001);
    EXPECT_EQ(texelByte(0), 1);
    EXPECT_EQ(texelByte(16), 17);
    EXPECT_EQ(texelByte(17), 0) << "padding";
    EXPECT_EQ(texelByte(18), 1 + 17 % 17);

    settings.IndexOffset = 255; // the sum keeps its low 8 bits
    image = TestImage::withColours(17, 1, 17);
    ASSERT_NE(convert(image), 0u);
    EXPECT_EQ(texelByte(0), 255);
    EXPECT_EQ(texelByte(1), 0);
    EXPECT_EQ(texelByte(2), 1);

    TestImage fourBit = TestImage::withColours(4, 1, 4);
    ASSERT_NE(convert(fourBit), 0u);
    EXPECT_EQ(texelByte(0), 0x10) << "4-bit texels are not offset";
}

// A failed buffer at each depth is reported after the fallback texts.
TEST_F(ConvertTest, FailedAllocationsReportAndReturnZero)
{
    const struct
    {
        uint32_t colours;
        std::size_t failing;
        std::string fallbacks, message;
    } cases[] = {
        {2, 250 * 2 * 3, "", "Error allocating memory for 4 bit downgrade buffer."},
        {17, 1000 * 3, "Image T.TGA with 17 colours couldn't be saved as 4 BPP.\ndefaulting to 8 BPP.\n",
         "Error allocating memory for 8 bit downgrade buffer."},
        {3000, 1000 * 3 * 2,
         "Image T.TGA with 3000 colours couldn't be saved as 4 BPP.\ndefaulting to 8 BPP.\n"
         "Image T.TGA couldn't be saved as 8 BPP.\ndefaulting to 16 BPP.\n",
         "Error allocating memory for PSX sprite data."},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.colours);
        CapturingReporter own;
        ColourTable table;
        TestImage image = TestImage::withColours(1000, 3, c.colours);
        failNextAllocationOf(c.failing);
        EXPECT_FALSE(ConvertToPsx({}, table, own, image.pixels.data(), 1000, 3, "T.TGA"));
        cancelAllocationFailure();
        EXPECT_EQ(own.output(), c.fallbacks + c.message + "\n");
        EXPECT_EQ(own.messageLine(), c.message);
        EXPECT_GE(own.repaints, 1);
    }
}

TEST_F(ConvertTest, SizesATimCannotHoldAreRefused)
{
    TestImage image(1, 1);
    EXPECT_EQ(convertPixels(image.pixels.data(), -1, 1, "N.TGA"), 0u);
    EXPECT_EQ(convertPixels(image.pixels.data(), 1, -1, "N.TGA"), 0u);
    EXPECT_EQ(convertPixels(image.pixels.data(), 65536, 0, "N.TGA"), 0u);
    // An empty image is a valid, texel-less 4-bit TIM; no pixel is read.
    EXPECT_EQ(convertPixels(nullptr, 0, 0, "N.TGA"), kFourBitHeader);
    EXPECT_EQ(colours.UniqueColourCount, 0u);
}

} // namespace
