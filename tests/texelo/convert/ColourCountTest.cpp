// Channel reduction, PSX colours with the STP bit, and the colour table:
// counting, CLUT order, cleared entries and the palette-only reuse.

#include "ConvertFixture.h"

#include <array>

namespace
{

TEST(ChannelReduction, RoundsToFiveBitsAndHoldsTheTopAt31)
{
    TestImage image(10, 1);
    const uint8_t inputs[] = {0, 3, 4, 11, 12, 243, 251, 252, 254, 255};
    const uint8_t expected[] = {0, 0, 1, 1, 2, 30, 31, 31, 31, 31};
    for (int x = 0; x < 10; ++x)
        image.set(x, 0, {inputs[x], inputs[x], inputs[x], 77});
    TexeloReporter reporter(std::tmpfile(), std::tmpfile());
    ColourTable colours;
    EXPECT_TRUE(ConvertToPsx({}, colours, reporter, image.pixels.data(), 10, 1, "R.TGA"));
    for (int x = 0; x < 10; ++x)
    {
        EXPECT_EQ(image.pixels[x * 4 + 0], expected[x]) << "input " << int{inputs[x]};
        EXPECT_EQ(image.pixels[x * 4 + 1], expected[x]);
        EXPECT_EQ(image.pixels[x * 4 + 2], expected[x]);
        EXPECT_EQ(image.pixels[x * 4 + 3], 77) << "alpha is left as it is";
    }
}

TEST(PsxColourStp, BlackIsTransparentWhateverItsAlpha)
{
    EXPECT_EQ(psxColourWithStp(0, 0, 0, 0), 0x0000);
    EXPECT_EQ(psxColourWithStp(0, 0, 0, 255), 0x0000);
    EXPECT_EQ(psxColourWithStp(1, 1, 1, 0), 0x8421);
    EXPECT_EQ(psxColourWithStp(1, 1, 1, 255), 0x0421);
    EXPECT_EQ(psxColourWithStp(31, 0, 0, 1), 0x001F);
    EXPECT_EQ(psxColourWithStp(0, 0, 31, 0), 0xFC00);
}

TEST_F(ConvertTest, NearBlackMergesWithBlackAndDarkGreyGetsStp)
{
    TestImage image(3, 1);
    image.set(0, 0, {3, 3, 3, 0});
    image.set(1, 0, {0, 0, 0, 0});
    image.set(2, 0, {4, 4, 4, 0});
    ASSERT_NE(convert(image), 0u);
    EXPECT_EQ(colours.UniqueColourCount, 2u);
    EXPECT_EQ(clutEntry(0), 0x0000);
    EXPECT_EQ(clutEntry(1), 0x8421);
}

TEST_F(ConvertTest, OpaqueFileColoursAllCarryStpExceptBlack)
{
    TestImage image = TestImage::withColours(16, 2, 16); // alpha 0 as decoded from a 24-bit file
    ASSERT_NE(convert(image), 0u);
    EXPECT_EQ(sprite32(4), 8u) << "4-bit with CLUT";
    EXPECT_EQ(clutEntry(0), 0x0000);
    for (std::size_t i = 1; i < 16; ++i)
        EXPECT_EQ(clutEntry(i), 0x8000 | i) << "entry " << i;
}

TEST_F(ConvertTest, AlphaDecidesStpAndSplitsOtherwiseEqualColours)
{
    TestImage image(4, 1);
    image.set(0, 0, {40, 0, 0, 255}); // 5
    image.set(1, 0, {8, 0, 0, 255});  // 1
    image.set(2, 0, {40, 0, 0, 0});   // 5 again, now with STP
    image.set(3, 0, {8, 0, 0, 255});
    ASSERT_NE(convert(image), 0u);
    ASSERT_EQ(colours.UniqueColourCount, 3u);
    EXPECT_EQ(clutEntry(0), 0x0001);
    EXPECT_EQ(clutEntry(1), 0x0005) << "found first, so it stays before its twin";
    EXPECT_EQ(clutEntry(2), 0x8005);
    EXPECT_EQ(clutEntry(3), 0x0000);
    EXPECT_EQ(texelByte(0), 0x01 | 0x00 << 4);
    EXPECT_EQ(texelByte(1), 0x02 | 0x00 << 4);
}

TEST_F(ConvertTest, TableIsSortedByBlueGreenRedWithTiesInDiscoveryOrder)
{
    // Already reduced. Keys: blue 1 (1024), green 1 (32), red 1 (1); then the
    // red one again with another alpha, found before its twin.
    const Rgba pixels[] = {{0, 0, 1, 0}, {0, 1, 0, 0}, {1, 0, 0, 9}, {1, 0, 0, 0}, {0, 0, 1, 0}};
    TestImage image(5, 1);
    for (int x = 0; x < 5; ++x)
        image.set(x, 0, pixels[x]);
    EXPECT_EQ(CountColours(settings.PaletteOnly, colours, image.pixels.data(), 5, 1), 4u);
    const auto& table = colours.UniqueColourTable;
    ASSERT_EQ(table.size(), kUniqueColourCapacity);
    std::vector<std::array<uint32_t, 5>> found; // r, g, b, a, FirstPixel
    for (std::size_t i = 0; i < 4; ++i)
        found.push_back({table[i].r, table[i].g, table[i].b, table[i].a, table[i].FirstPixel});
    EXPECT_EQ(found, (std::vector<std::array<uint32_t, 5>>{
                         {1, 0, 0, 9, 2}, {1, 0, 0, 0, 3}, {0, 1, 0, 0, 1}, {0, 0, 1, 0, 0}}));
    for (std::size_t i = 4; i < table.size(); ++i)
        EXPECT_EQ(table[i].r | table[i].g | table[i].b, 0) << "entry " << i;
}

TEST_F(ConvertTest, ManyTiesKeepDiscoveryOrderThroughTheSort)
{
    // 100 reduced colours, found from the largest key down, each with two
    // alphas whose order of discovery alternates.
    TestImage image(200, 1);
    for (int k = 0; k < 100; ++k)
    {
        const auto red = static_cast<uint8_t>((99 - k) % 32);
        const auto green = static_cast<uint8_t>((99 - k) / 32);
        const uint8_t firstAlpha = k % 2 ? 7 : 0;
        image.set(2 * k, 0, {red, green, 0, firstAlpha});
        image.set(2 * k + 1, 0, {red, green, 0, static_cast<uint8_t>(7 - firstAlpha)});
    }
    ASSERT_EQ(CountColours(settings.PaletteOnly, colours, image.pixels.data(), 200, 1), 200u);
    for (std::size_t i = 0; i < 200; ++i)
    {
        const UniqueColour& entry = colours.UniqueColourTable[i];
        EXPECT_EQ(entry.g * 32 + entry.r, i / 2) << "entry " << i;
        const std::size_t k = 99 - i / 2;
        EXPECT_EQ(entry.FirstPixel, 2 * k + i % 2) << "entry " << i;
    }
}

TEST_F(ConvertTest, RecountClearsWhatAnEarlierImageLeftInTheTable)
{
    TestImage many = TestImage::withColours(8, 8, 40);
    TestImage few = TestImage::withColours(2, 1, 2);
    CountColours(settings.PaletteOnly, colours, many.pixels.data(), 8, 8);
    EXPECT_EQ(CountColours(settings.PaletteOnly, colours, few.pixels.data(), 2, 1), 2u);
    for (std::size_t i = 2; i < kUniqueColourCapacity; ++i)
        EXPECT_EQ(colours.UniqueColourTable[i].r | colours.UniqueColourTable[i].g |
                      colours.UniqueColourTable[i].b,
                  0);
}

TEST_F(ConvertTest, CountStaysExactBeyondTheTable)
{
    TestImage image = TestImage::withColours(100, 30, 1000);
    EXPECT_EQ(CountColours(settings.PaletteOnly, colours, image.pixels.data(), 100, 30), 1000u);
    EXPECT_EQ(colours.UniqueColourCount, 1000u);
    ASSERT_EQ(colours.UniqueColourTable.size(), kUniqueColourCapacity);
    for (std::size_t i = 0; i < kUniqueColourCapacity; ++i)
        EXPECT_EQ(colours.UniqueColourTable[i].FirstPixel, i)
            << "the first 256 colours found are kept, in order";
}

// A first texture fixes the table; a palette-only one takes its colours from
// the pixels where the first texture's colours were first seen.
TEST_F(ConvertTest, PaletteOnlyTakesColoursAtTheEarlierFirstPixels)
{
    TestImage first(4, 2, {8, 0, 0, 0}); // red 1, first at pixel 1
    first.set(0, 0, {16, 0, 0, 0});      // red 2, pixel 0
    first.set(2, 0, {16, 0, 0, 0});
    first.set(3, 0, {0, 0, 0, 0}); // black, pixel 3
    ASSERT_NE(convert(first), 0u);
    ASSERT_EQ(colours.UniqueColourCount, 3u); // black@3, red1@1, red2@0

    settings.PaletteOnly = true;
    TestImage second(4, 2, {0, 0, 248, 0}); // all blue 31
    second.set(0, 0, {0, 8, 0, 0});         // green 1 where red 2 was first
    second.set(3, 0, {0, 16, 0, 255});      // opaque green 2 where black was first
    ASSERT_NE(convert(second), 0u);
    EXPECT_EQ(colours.UniqueColourCount, 3u);
    EXPECT_EQ(sprite32(4), 8u);
    EXPECT_EQ(clutEntry(0), 0x0040) << "pixel 3, opaque";
    EXPECT_EQ(clutEntry(1), 0xFC00) << "pixel 1";
    EXPECT_EQ(clutEntry(2), 0x8020) << "pixel 0";
    EXPECT_EQ(clutEntry(3), 0x0000);
    EXPECT_EQ(colours.UniqueColourTable[0].FirstPixel, 3u);
    EXPECT_EQ(colours.UniqueColourTable[2].FirstPixel, 0u);
    // Row 0: green1 -> 2, blue -> 1, blue -> 1, green2 -> 0.
    EXPECT_EQ(texelByte(0), 0x12);
    EXPECT_EQ(texelByte(1), 0x01);
}

TEST_F(ConvertTest, PaletteOnlyWithASmallerImageGivesMissingEntriesColourZero)
{
    TestImage first(8, 1);
    for (int x = 0; x < 8; ++x)
        first.set(x, 0, distinctColour(static_cast<uint32_t>(x) * 33));
    ASSERT_NE(convert(first), 0u);
    ASSERT_EQ(colours.UniqueColourCount, 8u);

    settings.PaletteOnly = true;
    TestImage second(2, 1, {248, 248, 248, 0});
    ASSERT_NE(convert(second), 0u);
    EXPECT_EQ(colours.UniqueColourCount, 8u);
    int white = 0;
    for (std::size_t i = 0; i < 8; ++i)
    {
        const UniqueColour& entry = colours.UniqueColourTable[i];
        if (entry.FirstPixel < 2)
            white += entry.r == 31 && entry.g == 31 && entry.b == 31 ? 1 : 0;
        else
            EXPECT_TRUE(entry.r == 0 && entry.g == 0 && entry.b == 0 && entry.a == 0) << "entry " << i;
    }
    EXPECT_EQ(white, 2);
}

TEST_F(ConvertTest, PaletteOnlyColourMissingFromTheTableNeverSpillsIntoItsNeighbour)
{
    TestImage first = TestImage::withColours(16, 1, 16);
    ASSERT_NE(convert(first), 0u);
    settings.PaletteOnly = true;
    TestImage second = TestImage::withColours(16, 2, 16);
    second.set(0, 1, {0, 0, 248, 0}); // found in no entry: index 16
    second.set(1, 1, {0, 0, 0, 0});   // pixel 0's colour: index 0
    ASSERT_NE(convert(second), 0u);
    EXPECT_EQ(texelByte(8), 0x00) << "index 16 keeps only its low nibble";

    // Eight bits hold the missing index as it is.
    settings.PaletteOnly = false;
    TestImage wide = TestImage::withColours(20, 2, 20);
    ASSERT_NE(convert(wide), 0u);
    settings.PaletteOnly = true;
    wide = TestImage::withColours(20, 2, 20);
    wide.set(0, 1, {0, 0, 248, 0});
    ASSERT_NE(convert(wide), 0u);
    EXPECT_EQ(texelByte(20), 20);
}

} // namespace
