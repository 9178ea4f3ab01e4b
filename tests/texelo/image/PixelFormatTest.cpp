// Pixel formats, palettes and the format factory.
#include "image/CreatePixelFormat.h"
#include "image/IndexedPixelFormat.h"
#include "image/MaskPixelFormat.h"
#include "image/Palette.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace
{

uint32_t argb(uint8_t a, uint8_t r, uint8_t g, uint8_t b)
{
    return uint32_t{a} << 24 | uint32_t{r} << 16 | uint32_t{g} << 8 | b;
}

std::unique_ptr<PixelFormat> format(int32_t id)
{
    std::unique_ptr<PixelFormat> made = CreatePixelFormat(id);
    EXPECT_NE(made, nullptr) << "id " << id;
    return made;
}

// An 8-bit indexed format whose palette holds `colours` as X8R8G8B8 entries.
std::unique_ptr<IndexedPixelFormat> indexedFormat(const std::vector<uint32_t>& colours)
{
    std::vector<uint8_t> entries;
    for (const uint32_t colour : colours)
        for (int shift = 0; shift < 32; shift += 8)
            entries.push_back(static_cast<uint8_t>(colour >> shift));
    auto palette = std::make_unique<Palette>(entries.data(), static_cast<int32_t>(colours.size()),
                                             std::shared_ptr<const PixelFormat>(CreatePixelFormat(5)));
    return std::make_unique<IndexedPixelFormat>(8, kIndexedFormatId, std::move(palette));
}

} // namespace

TEST(CreatePixelFormat, BuildsDirectColourFormatsForIdsOneToThirtyOnly)
{
    for (int32_t id = 1; id <= 30; ++id)
    {
        const std::unique_ptr<PixelFormat> made = format(id);
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(made->FormatId(), id);
        EXPECT_FALSE(made->IsIndexed());
        const int32_t expectedBits = id <= 6 ? 32 : id <= 12 ? 24 : id <= 24 ? 16 : 8;
        EXPECT_EQ(made->BitsPerPixel(), expectedBits) << "id " << id;
    }
    EXPECT_EQ(CreatePixelFormat(0), nullptr);
    EXPECT_EQ(CreatePixelFormat(kIndexedFormatId), nullptr);
    EXPECT_EQ(CreatePixelFormat(-1), nullptr);
}

TEST(CreatePixelFormat, ChannelOrdersPlaceEachChannelWhereTheTableSays)
{
    // a = 0xC0, r = 0x80, g = 0x40, b = 0xFC: distinct in every format's top bits.
    const auto raw = [](int32_t id) { return CreatePixelFormat(id)->MakeRaw(0xC0, 0x80, 0x40, 0xFC); };
    EXPECT_EQ(raw(1), 0xC08040FCu);
    EXPECT_EQ(raw(2), 0x8040FCC0u);
    EXPECT_EQ(raw(4), 0xFC4080C0u);
    EXPECT_EQ(raw(6), 0x00FC4080u);
    EXPECT_EQ(raw(8), 0x80u >> 2 << 18 | 0x40u >> 2 << 12 | 0xFCu >> 2 << 6 | 0xC0u >> 2);
    EXPECT_EQ(raw(14), 0x84FCu);
    EXPECT_EQ(raw(18), 0x80u >> 3 << 11 | 0x40u >> 3 << 6 | 0xFCu >> 3 << 1 | 1u);
    EXPECT_EQ(raw(22), 0x80u >> 3 << 11 | 0x40u >> 2 << 5 | 0xFCu >> 3);
    EXPECT_EQ(raw(27), 3u << 6 | 3u << 4 | 1u << 2 | 2u);
}

TEST(MaskPixelFormat, TakesShiftAndBitCountFromEachMask)
{
    const MaskPixelFormat rgb565(16, 0, 0xF800, 0x07E0, 0x001F, 22);
    EXPECT_EQ(rgb565.ChannelShift(Channel::R), 11);
    EXPECT_EQ(rgb565.ChannelBits(Channel::R), 5);
    EXPECT_EQ(rgb565.ChannelShift(Channel::G), 5);
    EXPECT_EQ(rgb565.ChannelBits(Channel::G), 6);
    EXPECT_EQ(rgb565.ChannelShift(Channel::B), 0);
    EXPECT_EQ(rgb565.ChannelBits(Channel::B), 5);
    EXPECT_EQ(rgb565.ChannelShift(Channel::A), 0);
    EXPECT_EQ(rgb565.ChannelBits(Channel::A), 0);
}

TEST(MaskPixelFormat, NarrowChannelsReadWithoutTheirLowBits)
{
    const std::unique_ptr<PixelFormat> x1r5g5b5 = format(21);
    const std::array<uint8_t, 2> white{0xFF, 0x7F};
    EXPECT_EQ(x1r5g5b5->ReadColour(white.data()), argb(0, 248, 248, 248));
    EXPECT_EQ(x1r5g5b5->MakeRaw(255, 255, 0, 0), 31u << 10);
    EXPECT_EQ(x1r5g5b5->MakeRaw(0, 0, 0, 255), 31u);
}

TEST(MaskPixelFormat, GreyFillsRedGreenAndBlueAndAlphaOnlyReadsAlpha)
{
    const std::array<uint8_t, 1> pixel{0x5A};
    EXPECT_EQ(format(30)->ReadColour(pixel.data()), argb(0, 0x5A, 0x5A, 0x5A));
    EXPECT_EQ(format(29)->ReadColour(pixel.data()), argb(0x5A, 0, 0, 0));
}

TEST(PackedPixelFormat, ReadsTwentyFourBitsMostSignificantByteFirstAndTheRestLittleEndian)
{
    const std::array<uint8_t, 4> bytes{0x12, 0x34, 0x56, 0x78};
    EXPECT_EQ(format(11)->ReadRaw(bytes.data()), 0x123456u);
    EXPECT_EQ(format(1)->ReadRaw(bytes.data()), 0x78563412u);
    EXPECT_EQ(format(21)->ReadRaw(bytes.data()), 0x3412u);
    EXPECT_EQ(format(30)->ReadRaw(bytes.data()), 0x12u);

    std::array<uint8_t, 4> written{};
    format(11)->WriteRaw(0xABCDEF, written.data());
    EXPECT_EQ(written, (std::array<uint8_t, 4>{0xAB, 0xCD, 0xEF, 0}));
    format(1)->WriteRaw(0x01020304, written.data());
    EXPECT_EQ(written, (std::array<uint8_t, 4>{4, 3, 2, 1}));
}

TEST(PackedPixelFormat, OtherPixelSizesReadZeroAndWriteNothing)
{
    const MaskPixelFormat twelveBits(12, 0, 0xF00, 0x0F0, 0x00F, 99);
    std::array<uint8_t, 4> bytes{0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(twelveBits.ReadRaw(bytes.data()), 0u);
    twelveBits.WriteRaw(0, bytes.data());
    EXPECT_EQ(bytes, (std::array<uint8_t, 4>{0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(MaskPixelFormat, WriteColourAndConvertFromKeepTheColour)
{
    std::array<uint8_t, 2> pixel{};
    static_cast<const MaskPixelFormat&>(*format(17)).WriteColour(argb(0x80, 0xF8, 0x08, 0x80), pixel.data());
    EXPECT_EQ(pixel, (std::array<uint8_t, 2>{0x30, 0xFC})); // 1 11111 00001 10000

    // A 24-bit raw value is taken in its own byte order: red stays red.
    EXPECT_EQ(format(1)->ConvertFrom(0xFF0000, *format(11)), argb(0, 0xFF, 0, 0));
    EXPECT_EQ(format(21)->ConvertFrom(argb(0xFF, 0xFF, 0x80, 0x08), *format(1)), 31u << 10 | 16u << 5 | 1u);
}

TEST(Palette, GetColourReadsEntriesAndGivesZeroOutsideThePalette)
{
    const std::unique_ptr<IndexedPixelFormat> indexed = indexedFormat({0x112233, 0x445566});
    const Palette& palette = *indexed->GetPalette();
    EXPECT_EQ(palette.Count(), 2);
    EXPECT_EQ(palette.EntrySize(), 4);
    EXPECT_EQ(palette.GetColour(1), 0x445566u);
    EXPECT_EQ(palette.GetColour(2), 0u);
    EXPECT_EQ(palette.GetColour(-1), 0u);
    EXPECT_EQ(palette.FindNearest(0, 0x44, 0x55, 0x66), 0u);
}

TEST(Palette, CloneCopiesEntriesAndSharesTheEntryFormat)
{
    const std::unique_ptr<IndexedPixelFormat> indexed = indexedFormat({0x112233});
    const std::unique_ptr<Palette> copy = indexed->GetPalette()->Clone();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->EntryFormat(), indexed->GetPalette()->EntryFormat());
    EXPECT_NE(copy->Entries().data(), indexed->GetPalette()->Entries().data());
    EXPECT_EQ(copy->GetColour(0), 0x112233u);
}

TEST(IndexedPixelFormat, ReadsPaletteColoursOfEightBitIndices)
{
    const std::unique_ptr<IndexedPixelFormat> indexed = indexedFormat({0x0000FF, 0x00FF00});
    const std::array<uint8_t, 1> one{1};
    EXPECT_TRUE(indexed->IsIndexed());
    EXPECT_EQ(indexed->ReadRaw(one.data()), 1u);
    EXPECT_EQ(indexed->ReadColour(one.data()), 0x00FF00u);
    EXPECT_EQ(indexed->MakeRaw(0, 0, 0xFF, 0), 0u);

    const IndexedPixelFormat sixteenBits(16, kIndexedFormatId, nullptr);
    EXPECT_EQ(sixteenBits.ReadColour(one.data()), 0xFFFFFFFFu);
    EXPECT_EQ(sixteenBits.ReadRaw(one.data()), 0xFFFFFFFFu);
}

TEST(IndexedPixelFormat, ConvertFromAnotherIndexedFormatKeepsTheIndex)
{
    const std::unique_ptr<IndexedPixelFormat> first = indexedFormat({0xFF0000, 0x00FF00, 0x0000FF});
    const std::unique_ptr<IndexedPixelFormat> second = indexedFormat({0x123456});
    EXPECT_EQ(second->ConvertFrom(2, *first), 2u);
    EXPECT_EQ(first->ConvertFrom(200, *second), 200u);
    // A direct colour is matched through the palette, which always answers 0.
    EXPECT_EQ(first->ConvertFrom(0x0000FF, *format(5)), 0u);
}

TEST(IndexedPixelFormat, CloneOwnsACopyOfThePalette)
{
    const std::unique_ptr<IndexedPixelFormat> indexed = indexedFormat({0xABCDEF});
    const std::unique_ptr<PixelFormat> copy = indexed->Clone();
    ASSERT_NE(copy, nullptr);
    const auto& copied = static_cast<const IndexedPixelFormat&>(*copy);
    EXPECT_EQ(copied.FormatId(), kIndexedFormatId);
    EXPECT_NE(copied.GetPalette(), indexed->GetPalette());
    EXPECT_EQ(copied.GetPalette()->GetColour(0), 0xABCDEFu);
}
