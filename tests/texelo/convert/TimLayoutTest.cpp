// The TIM image byte for byte: headers, CLUT block, and the row padding of
// 4-bit and 8-bit texels for odd widths.

#include "ConvertFixture.h"

#include <initializer_list>

namespace
{

// Pixel (x, y) gets colour number 1 + x + y * width: with no black in the
// image, its CLUT index is x + y * width.
TestImage numberedColours(int width, int height)
{
    TestImage image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.set(x, y, distinctColour(static_cast<uint32_t>(1 + x + y * width)));
    return image;
}

std::vector<uint8_t> texels(const std::vector<uint8_t>& sprite, std::size_t offset)
{
    return {sprite.begin() + static_cast<std::ptrdiff_t>(offset), sprite.end()};
}

TEST_F(ConvertTest, FourBitTimBytesOfATinyImage)
{
    TestImage image(3, 1);
    image.set(0, 0, {0, 0, 0, 0});
    image.set(1, 0, {8, 0, 0, 0});
    image.set(2, 0, {0, 8, 0, 255});
    ASSERT_EQ(convert(image), 66u);
    // clang-format off
    const std::vector<uint8_t> expected = {
        0x10, 0, 0, 0, 0x08, 0, 0, 0,                      // id, flags: 4-bit with CLUT
        0x2C, 0, 0, 0, 0, 0, 0xE0, 0x01, 0x10, 0, 0x01, 0, // CLUT block: 44 bytes, x 0, y 480, 16 x 1
        0x00, 0x00, 0x01, 0x80, 0x20, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, // CLUT
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0x0E, 0, 0, 0, 0x80, 0x02, 0, 0, 0x03, 0, 0x01, 0, // pixel block: 14 bytes, x 640, y 0, 3 x 1
        0x10, 0x02,                                        // texels 0 1 | 2 and padding
    };
    // clang-format on
    EXPECT_EQ(sprite, expected);
}

TEST_F(ConvertTest, SixteenBitTimBytesOfATinyImage)
{
    settings.TargetDepth = 16;
    TestImage image(2, 1);
    image.set(0, 0, {8, 0, 0, 0});
    image.set(1, 0, {0, 0, 8, 255});
    ASSERT_EQ(convert(image), 24u);
    // clang-format off
    const std::vector<uint8_t> expected = {
        0x10, 0, 0, 0, 0x02, 0, 0, 0,                      // id, flags: 16-bit, no CLUT
        0x10, 0, 0, 0, 0x80, 0x02, 0, 0, 0x02, 0, 0x01, 0, // pixel block: 16 bytes, x 640, y 0, 2 x 1
        0x01, 0x80, 0x00, 0x04,                            // STP where alpha is 0
    };
    // clang-format on
    EXPECT_EQ(sprite, expected);
}

TEST_F(ConvertTest, FourBitRowsArePaddedToFourTexels)
{
    const struct
    {
        int width;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {1, {0x00, 0x00, /**/ 0x01, 0x00}},
        {3, {0x10, 0x02, /**/ 0x43, 0x05}},
        {5, {0x10, 0x32, 0x04, 0x00, /**/ 0x65, 0x87, 0x09, 0x00}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.width);
        TestImage image = numberedColours(c.width, 2);
        const std::size_t words = (c.width + 3) / 4;
        ASSERT_EQ(convert(image), 64 + 2 * words * 2);
        EXPECT_EQ(sprite32(52), 12 + 2 * words * 2) << "pixel block length";
        EXPECT_EQ(sprite16(60), c.width) << "width in pixels";
        EXPECT_EQ(sprite16(62), 2);
        EXPECT_EQ(texels(sprite, 64), c.bytes);
    }
}

TEST_F(ConvertTest, EightBitRowsArePaddedToAnEvenWidth)
{
    for (const int width : {1, 3, 4})
    {
        SCOPED_TRACE(width);
        const int height = 20; // enough colours for 8 bits at every width
        TestImage image = numberedColours(width, height);
        const std::size_t rowBytes = (width + 1) / 2 * 2;
        const std::size_t pixelBlock = 8 + 12 + 512;
        ASSERT_EQ(convert(image), pixelBlock + 12 + rowBytes * height);
        EXPECT_EQ(sprite32(pixelBlock), 12 + rowBytes * height);
        EXPECT_EQ(sprite16(pixelBlock + 8), width);
        const std::vector<uint8_t> data = texels(sprite, pixelBlock + 12);
        for (int y = 0; y < height; ++y)
        {
            for (int x = 0; x < width; ++x)
                EXPECT_EQ(data[y * rowBytes + x], x + y * width);
            if (width % 2 == 1)
            {
                EXPECT_EQ(data[y * rowBytes + width], 0) << "pad byte of row " << y;
            }
        }
    }
}

TEST_F(ConvertTest, BuildClutFillsEntriesPastTheCountWithZero)
{
    TestImage image(3, 1); // already reduced: red 1, 2, 3
    for (int x = 0; x < 3; ++x)
        image.set(x, 0, {static_cast<uint8_t>(x + 1), 0, 0, 0});
    ASSERT_EQ(CountColours(false, colours, image.pixels.data(), 3, 1), 3u);
    EXPECT_EQ(BuildClut(colours, 5), (std::vector<uint16_t>{0x8001, 0x8002, 0x8003, 0, 0}));
}

} // namespace
