#include "MapGeometry.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{
TextureRecord texture(uint16_t groupX, uint16_t x, uint16_t width, uint16_t groupY, uint16_t y,
                      uint16_t height)
{
    TextureRecord record;
    record.GroupX = groupX;
    record.X = x;
    record.Width = width;
    record.GroupY = groupY;
    record.Y = y;
    record.Height = height;
    return record;
}

TextureRecord withClut(TextureRecord record, uint16_t x, uint16_t y, uint16_t width, uint16_t extraRows)
{
    record.HasClut = 1;
    record.ClutX = x;
    record.ClutY = y;
    record.ClutWidth = width;
    record.ClutExtraRows = extraRows;
    return record;
}

int width(const MapRect& rect)
{
    return rect.right - rect.left;
}
int height(const MapRect& rect)
{
    return rect.bottom - rect.top;
}
} // namespace

TEST(MapGeometry, NinetyPercentCentredWithSixteenByTwoCells)
{
    const MapGeometry map = ResizeMap(1000, 600);
    EXPECT_EQ(map.MapWidth, 900);
    EXPECT_EQ(map.MapHeight, 540);
    EXPECT_EQ(map.MapLeft, 50);
    EXPECT_EQ(map.MapRight, 950);
    EXPECT_EQ(map.MapTop, 30);
    EXPECT_EQ(map.MapBottom, 570);
    EXPECT_EQ(gridCell(map, 0, 0), (MapRect{50, 30, 106, 300}));
    // Truncated cells leave the last 4 columns of the map outside the grid.
    EXPECT_EQ(gridCell(map, 15, 1), (MapRect{50 + 15 * 56, 300, 946, 570}));
    // Odd sizes: the truncated halves put the spare pixel on the right.
    const MapGeometry odd = ResizeMap(999, 601);
    EXPECT_EQ(odd.MapWidth, 899);
    EXPECT_EQ(odd.MapLeft, 50);
    EXPECT_EQ(odd.MapRight, 949);
    EXPECT_EQ(odd.MapTop, 30);
    EXPECT_EQ(odd.MapBottom, 570);
}

TEST(MapGeometry, PageSizedTextureFillsItsGridCell)
{
    const MapGeometry map = ResizeMap(1000, 600);
    EXPECT_EQ(textureRect(map, texture(64, 0, 64, 256, 0, 256)), gridCell(map, 1, 1));
    // The same page reached through X rather than GroupX.
    EXPECT_EQ(textureRect(map, texture(0, 64, 64, 256, 0, 256)), gridCell(map, 1, 1));
    EXPECT_EQ(textureRect(map, texture(0, 0, 64, 0, 0, 256)), gridCell(map, 0, 0));
}

TEST(MapGeometry, PaletteOnlyRecordIsAZeroHeightOutlineWithItsClutStrip)
{
    const MapGeometry map = ResizeMap(1000, 600);
    const TextureRecord record = withClut(texture(0, 40, 1, 0, 100, 0), 0, 480, 16, 0);
    const MapRect outline = textureRect(map, record);
    EXPECT_EQ(height(outline), 0);
    EXPECT_TRUE(outline.isEmpty());
    const std::optional<MapRect> clut = clutRect(map, record);
    ASSERT_TRUE(clut.has_value());
    EXPECT_EQ(*clut, (MapRect{50, 30 + 480 * 540 / 512, 50 + 16 * 900 / 1024, 30 + 481 * 540 / 512}));
    EXPECT_FALSE(clutRect(map, texture(0, 0, 16, 0, 0, 16)).has_value());
}

TEST(MapGeometry, OneRowClutIsAtLeastOneScaledRowHigh)
{
    const MapGeometry map = ResizeMap(1000, 600);
    for (uint16_t row = 0; row < 512; ++row)
    {
        const std::optional<MapRect> clut = clutRect(map, withClut(TextureRecord{}, 0, row, 256, 0));
        ASSERT_TRUE(clut.has_value());
        EXPECT_GE(height(*clut), 1) << "row " << row;
        EXPECT_EQ(width(*clut), 256 * 900 / 1024);
    }
    const std::optional<MapRect> lastRow = clutRect(map, withClut(TextureRecord{}, 0, 511, 16, 0));
    EXPECT_EQ(lastRow->bottom, map.MapBottom);
    // Extra rows add to the one row.
    EXPECT_EQ(clutRect(map, withClut(TextureRecord{}, 0, 0, 16, 511))->bottom, map.MapBottom);
}

TEST(MapGeometry, TinyAndNegativeClientAreasGiveAnEmptyMapInsideTheWindow)
{
    for (const auto& [w, h] : {std::pair{0, 0}, {1, 1}, {5, 3}, {17, 2}, {-5, -7}})
    {
        const MapGeometry map = ResizeMap(w, h);
        SCOPED_TRACE(testing::Message() << w << " x " << h);
        EXPECT_GE(map.MapWidth, 0);
        EXPECT_GE(map.MapHeight, 0);
        EXPECT_GE(map.MapLeft, 0);
        EXPECT_GE(map.MapTop, 0);
        EXPECT_LE(map.MapRight, std::max(w, 0));
        EXPECT_LE(map.MapBottom, std::max(h, 0));
        for (int row = 0; row < kGridRows; ++row)
            for (int column = 0; column < kGridColumns; ++column)
            {
                const MapRect cell = gridCell(map, column, row);
                EXPECT_GE(width(cell), 0);
                EXPECT_GE(height(cell), 0);
            }
        const MapRect whole = textureRect(map, texture(0, 0, 1024, 0, 0, 512));
        EXPECT_EQ(whole, (MapRect{map.MapLeft, map.MapTop, map.MapRight, map.MapBottom}));
    }
    const MapGeometry five = ResizeMap(5, 3);
    EXPECT_EQ(five.MapWidth, 4);
    EXPECT_EQ(five.MapHeight, 2);
    EXPECT_EQ(width(gridCell(five, 0, 0)), 0);
    EXPECT_EQ(height(gridCell(five, 0, 0)), 1);
}

TEST(MapGeometry, HugeWindowsAndFarRecordsDoNotOverflow)
{
    const MapGeometry map = ResizeMap(std::numeric_limits<int>::max(), std::numeric_limits<int>::max());
    EXPECT_EQ(map.MapWidth, 32767 * 90 / 100);
    const uint16_t most = std::numeric_limits<uint16_t>::max();
    const MapRect far = textureRect(map, texture(most, most, most, most, most, most));
    EXPECT_EQ(far.right, static_cast<int>(int64_t{3 * most} * map.MapWidth / 1024 + map.MapLeft));
    EXPECT_GT(far.bottom, far.top);
    const std::optional<MapRect> clut =
        clutRect(map, withClut(texture(0, 0, 0, 0, 0, 0), most, most, most, most));
    EXPECT_GT(clut->right, clut->left);
}
