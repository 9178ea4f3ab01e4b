// The image library's Targa loader on files made by the Targa test writer.
#include "image/TgaImageLoader.h"
#include "TgaWriter.h"
#include "image/CreatePixelFormat.h"
#include "image/IndexedPixelFormat.h"
#include "texelo/TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace
{

using namespace tgawriter;

std::unique_ptr<TgaImageLoader> loaderOf(const Bytes& file)
{
    MemBuffer buffer = AllocateBuffer(file.empty() ? 1 : file.size());
    if (!file.empty())
        std::memcpy(buffer.get(), file.data(), file.size());
    return TgaImageLoader::FromFileData(std::move(buffer), file.size());
}

std::vector<Rgba> greys(int count)
{
    std::vector<Rgba> colours;
    for (int i = 0; i < count; ++i)
        colours.push_back({static_cast<uint8_t>(i * 16), static_cast<uint8_t>(255 - i * 8),
                           static_cast<uint8_t>(i * 5), 255});
    return colours;
}

// The bitmap's index bytes row by row.
std::vector<std::vector<uint8_t>> rowsOf(const Bitmap& bitmap)
{
    std::vector<std::vector<uint8_t>> rows;
    for (uint32_t y = 0; y < bitmap.Height(); ++y)
        rows.emplace_back(bitmap.PixelAddress(0, y), bitmap.PixelAddress(0, y) + bitmap.Width());
    return rows;
}

} // namespace

TEST(TgaImageLoader, TrueColourFileHasAFormatButDecodesNothing)
{
    const std::vector<Rgba> pixels(8, Rgba{10, 20, 30, 0});
    for (const auto& [depth, formatId] : {std::pair{24, 11}, {16, 21}, {15, 21}, {32, 1}})
    {
        const std::unique_ptr<TgaImageLoader> loader =
            loaderOf(encodeTga(fromColours(4, 2, pixels, static_cast<uint8_t>(depth))));
        ASSERT_NE(loader, nullptr);
        ASSERT_NE(loader->Format(), nullptr);
        EXPECT_EQ(loader->Format()->FormatId(), formatId);
        EXPECT_FALSE(loader->Format()->IsIndexed());
        EXPECT_FALSE(loader->HasIndexReader());

        Bitmap bitmap(4, 2, CreatePixelFormat(formatId));
        std::memset(bitmap.WritableData(), 0xEE, bitmap.Pitch() * 2);
        EXPECT_EQ(loader->Decode(bitmap), kDecodeFailed);
        for (uint32_t i = 0; i < bitmap.Pitch() * 2; ++i)
            ASSERT_EQ(bitmap.Data()[i], 0xEE) << "depth " << depth;
    }
}

TEST(TgaImageLoader, ColourMapBecomesA256EntryPaletteWithMissingEntriesZero)
{
    const std::vector<Rgba> colours = greys(16);
    const std::unique_ptr<TgaImageLoader> loader =
        loaderOf(encodeTga(indexedImage(4, 1, {0, 5, 15, 16}, colours, 16)));
    ASSERT_NE(loader, nullptr);
    const auto* format = dynamic_cast<const IndexedPixelFormat*>(loader->Format());
    ASSERT_NE(format, nullptr);
    EXPECT_EQ(format->FormatId(), kIndexedFormatId);
    EXPECT_EQ(format->BitsPerPixel(), 8);
    const Palette& palette = *format->GetPalette();
    ASSERT_EQ(palette.Count(), 256);
    EXPECT_EQ(palette.EntryFormat()->FormatId(), 21);
    for (int i = 0; i < 16; ++i)
    {
        const Rgba& c = colours[static_cast<std::size_t>(i)];
        const uint32_t expected = uint32_t{c.r & 0xF8u} << 16 | uint32_t{c.g & 0xF8u} << 8 | (c.b & 0xF8u);
        EXPECT_EQ(palette.GetColour(i), expected) << "entry " << i;
    }
    for (int i = 16; i < 256; ++i)
        ASSERT_EQ(palette.GetColour(i), 0u) << "entry " << i;
}

TEST(TgaImageLoader, MapEntrySizesChooseTheirFormats)
{
    for (const auto& [bits, formatId] : {std::pair{15, 21}, {24, 11}, {32, 5}})
    {
        const std::unique_ptr<TgaImageLoader> loader =
            loaderOf(encodeTga(indexedImage(1, 1, {0}, greys(1), static_cast<uint8_t>(bits))));
        ASSERT_NE(loader, nullptr);
        const auto* format = dynamic_cast<const IndexedPixelFormat*>(loader->Format());
        ASSERT_NE(format, nullptr);
        EXPECT_EQ(format->GetPalette()->EntryFormat()->FormatId(), formatId);
    }
}

TEST(TgaImageLoader, DecodesRowsInFileOrderWithoutFlipping)
{
    TgaImage bottomUp = indexedImage(2, 2, {1, 2, 3, 4}, greys(5));
    TgaImage topDown = bottomUp;
    topDown.topDown = true;
    const std::unique_ptr<TgaImageLoader> first = loaderOf(encodeTga(bottomUp));
    const std::unique_ptr<TgaImageLoader> second = loaderOf(encodeTga(topDown));
    int result = kDecodeFailed;
    const std::unique_ptr<Bitmap> fromBottomUp = CreateBitmapFromLoader(*first, 0, &result);
    EXPECT_EQ(result, kDecodeSucceeded);
    const std::unique_ptr<Bitmap> fromTopDown = CreateBitmapFromLoader(*second, 0, &result);
    EXPECT_EQ(result, kDecodeSucceeded);
    using Rows = std::vector<std::vector<uint8_t>>;
    EXPECT_EQ(rowsOf(*fromBottomUp), (Rows{{3, 4}, {1, 2}}));
    EXPECT_EQ(rowsOf(*fromTopDown), (Rows{{1, 2}, {3, 4}}));
}

TEST(TgaImageLoader, RunLengthPacketsRepeatOrListIndices)
{
    TgaImage tga = indexedImage(6, 1, {}, greys(8));
    tga.rle = true;
    tga.pixelData = Bytes{0x83, 7, 0x01, 2, 5};
    const std::unique_ptr<TgaImageLoader> loader = loaderOf(encodeTga(tga));
    int result = kDecodeFailed;
    const std::unique_ptr<Bitmap> bitmap = CreateBitmapFromLoader(*loader, 0, &result);
    EXPECT_EQ(result, kDecodeSucceeded);
    EXPECT_EQ(rowsOf(*bitmap), (std::vector<std::vector<uint8_t>>{{7, 7, 7, 7, 2, 5}}));
}

TEST(TgaImageLoader, PacketCrossingTheRowEndOrDataEndingEarlyFailsTheDecode)
{
    TgaImage crossing = indexedImage(3, 2, {}, greys(4));
    crossing.rle = true;
    crossing.pixelData = Bytes{0x83, 1};
    TgaImage truncated = indexedImage(3, 2, {1, 1, 1, 1, 1, 1}, greys(4));
    Bytes shortFile = encodeTga(truncated);
    shortFile.pop_back();
    TgaImage noPacket = crossing;
    noPacket.pixelData = Bytes{0x82, 1};

    for (const Bytes& file : {encodeTga(crossing), shortFile, encodeTga(noPacket)})
    {
        const std::unique_ptr<TgaImageLoader> loader = loaderOf(file);
        ASSERT_NE(loader, nullptr);
        int result = kDecodeSucceeded;
        EXPECT_NE(CreateBitmapFromLoader(*loader, 0, &result), nullptr);
        EXPECT_EQ(result, kDecodeFailed);
    }
}

TEST(TgaImageLoader, FileTooShortForHeaderIdOrColourMapIsRefused)
{
    TgaImage tga = indexedImage(1, 1, {0}, greys(4), 24);
    tga.id = {'i', 'd'};
    const Bytes whole = encodeTga(tga);
    const std::size_t pixelStart = 18 + 2 + 4 * 3;
    for (const std::size_t length : {std::size_t{0}, std::size_t{17}, std::size_t{19}, pixelStart - 1})
        EXPECT_EQ(loaderOf(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length))),
                  nullptr)
            << length << " bytes";
    EXPECT_NE(loaderOf(Bytes(whole.begin(), whole.begin() + pixelStart)), nullptr);
}

TEST(TgaImageLoader, EightBitFileWithoutAUsablePaletteHasNoFormat)
{
    const TgaImage grey{.width = 2, .height = 1, .depth = 8, .values = {1, 2}};
    TgaImage oddEntries = indexedImage(2, 1, {0, 1}, greys(2));
    oddEntries.colourMap->entryBits = 8;
    TgaImage oddDepth = fromColours(1, 1, greys(1), 24);
    oddDepth.depth = 12;
    for (const TgaImage& tga : {grey, oddEntries, oddDepth})
    {
        const std::unique_ptr<TgaImageLoader> loader = loaderOf(encodeTga(tga));
        ASSERT_NE(loader, nullptr);
        EXPECT_EQ(loader->Format(), nullptr);
        int result = kDecodeSucceeded;
        const std::unique_ptr<Bitmap> bitmap = CreateBitmapFromLoader(*loader, 0, &result);
        ASSERT_NE(bitmap, nullptr);
        EXPECT_FALSE(bitmap->HasStore());
        EXPECT_EQ(result, kDecodeFailed);
    }
}

TEST(TgaImageLoader, DecodingIntoADirectColourBitmapLooksUpThePalette)
{
    const std::vector<Rgba> colours = {{0x11, 0x22, 0x33, 0x44}, {0xAA, 0xBB, 0xCC, 0xDD}};
    const std::unique_ptr<TgaImageLoader> loader =
        loaderOf(encodeTga(indexedImage(2, 1, {1, 0}, colours, 32)));
    int result = kDecodeFailed;
    const std::unique_ptr<Bitmap> bitmap = CreateBitmapFromLoader(*loader, 1, &result);
    EXPECT_EQ(result, kDecodeSucceeded);
    // The entries are read as X8 R8 G8 B8, so alpha is not carried over.
    EXPECT_EQ(bitmap->Format()->ReadColour(bitmap->PixelAddress(0, 0)), 0x00AABBCCu);
    EXPECT_EQ(bitmap->Format()->ReadColour(bitmap->PixelAddress(1, 0)), 0x00112233u);
}

TEST(LoadTgaImage, OpensFilesAsScriptsNameThemAndRefusesMissingOnes)
{
    TempFolder folder;
    RunFiles files;
    folder.write("art/pic.tga", encodeTga(indexedImage(1, 1, {0}, greys(1))));
    folder.write("art/stub.tga", Bytes(10, 0));
    const std::unique_ptr<TgaImageLoader> loader = LoadTgaImage(files, folder.path() + "\\ART\\PIC.TGA");
    ASSERT_NE(loader, nullptr);
    EXPECT_EQ(loader->Width(), 1);
    EXPECT_EQ(LoadTgaImage(files, folder.path() + "/art/none.tga"), nullptr);
    EXPECT_EQ(LoadTgaImage(files, folder.path() + "/art/stub.tga"), nullptr);
    EXPECT_EQ(LoadTgaImage(files, folder.path() + "/art"), nullptr);
}
