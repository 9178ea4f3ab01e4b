// The Targa test writer itself: header layout and its run-length encoder,
// which the decoder round trips could not tell apart from plain packets.
#include "TgaWriter.h"

#include <gtest/gtest.h>

namespace
{

using namespace tgawriter;

TEST(TgaWriter, HeaderIdAndColourMapLayout)
{
    TgaImage tga = indexedImage(3, 2, {0, 1, 0, 1, 0, 1}, {{1, 2, 3, 4}, {5, 6, 7, 8}}, 32);
    tga.colourMap->first = 0x0105;
    tga.id = {0xAA, 0xBB};
    tga.topDown = true;
    const Bytes file = encodeTga(tga);
    const Bytes header = {2, 1, 1, 0x05, 0x01, 2,    0, 32, 0, 0, 0, 0, 3, 0,
                          2, 0, 8, 0x20, 0xAA, 0xBB, 3, 2,  1, 4, 7, 6, 5, 8};
    ASSERT_EQ(file.size(), header.size() + 6);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(header.size())), header);
    EXPECT_EQ(Bytes(file.end() - 6, file.end()), (Bytes{0, 1, 0, 1, 0, 1}));
}

TEST(TgaWriter, ImageTypeAndBottomUpRows)
{
    TgaImage grey{.width = 1, .height = 2, .depth = 8, .values = {1, 2}, .rle = true};
    const Bytes file = encodeTga(grey);
    EXPECT_EQ(file[2], 11);
    EXPECT_EQ(file[17], 0);
    EXPECT_EQ(Bytes(file.begin() + 18, file.end()), (Bytes{0x00, 2, 0x00, 1}));
    EXPECT_EQ(encodeTga(fromColours(1, 1, {{}}, 16))[2], 2);
}

TEST(TgaWriter, RunLengthEncoderMakesRunsAndRawPacketsWithinRows)
{
    TgaImage tga{.width = 5, .height = 1, .depth = 8, .values = {7, 7, 7, 8, 9}, .rle = true};
    Bytes file = encodeTga(tga);
    EXPECT_EQ(Bytes(file.begin() + 18, file.end()), (Bytes{0x82, 7, 0x01, 8, 9}));

    tga = TgaImage{
        .width = 300, .height = 2, .depth = 15, .values = std::vector<uint32_t>(600, 0x1234), .rle = true};
    file = encodeTga(tga);
    const Bytes row = {0xFF, 0x34, 0x12, 0xFF, 0x34, 0x12, 0x80 | 43, 0x34, 0x12};
    Bytes rows = row;
    rows.insert(rows.end(), row.begin(), row.end());
    EXPECT_EQ(Bytes(file.begin() + 18, file.end()), rows);
}

TEST(TgaWriter, StoredValuesOfColours)
{
    const Rgba colour{0xF8, 0x08, 0x80, 0x90};
    EXPECT_EQ(storedValue(colour, 15), 0x7C30u);
    EXPECT_EQ(storedValue(colour, 16), 0xFC30u);
    EXPECT_EQ(storedValue(colour, 24), 0xF80880u);
    EXPECT_EQ(storedValue(colour, 32), 0x90F80880u);
}

} // namespace
