// Files the decoder refuses: each message with its MessageLine, truncated
// files at every cut, and sizes the file cannot back.
#include "DecodeRun.h"
#include "LargestAllocation.h"

#include <gtest/gtest.h>

namespace
{

using namespace tgatest;
using tgawriter::ColourMap;
using tgawriter::TgaImage;

Bytes literalFile(int width, int height, uint8_t depth, bool rle, const Bytes& pixelData)
{
    TgaImage tga{.width = width, .height = height, .depth = depth, .rle = rle};
    tga.pixelData = pixelData;
    return encodeTga(tga);
}

void putU16(Bytes& file, std::size_t offset, uint16_t value)
{
    file[offset] = static_cast<uint8_t>(value & 0xFF);
    file[offset + 1] = static_cast<uint8_t>(value >> 8);
}

void expectFailedToDecode(const DecodeRun& run)
{
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(run.standardError, kFailed + "\n");
    EXPECT_EQ(run.repaints, std::vector<std::string>{kFailed});
    EXPECT_EQ(run.standardOutput, "");
    EXPECT_TRUE(run.image.pixels.empty());
}

TEST(TgaFailure, FileShorterThanHeaderFailsSilently)
{
    const Bytes file = literalFile(0, 0, 24, false, {});
    for (std::size_t length = 0; length < 18; ++length)
    {
        const DecodeRun run = decode(Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length)));
        EXPECT_EQ(run.result, 0);
        EXPECT_EQ(run.standardError, "");
        EXPECT_TRUE(run.repaints.empty());
    }
}

TEST(TgaFailure, UnsupportedDepthIsNamedOnStandardErrorOnly)
{
    for (uint8_t depth : {0, 1, 4, 12, 31, 255})
    {
        const DecodeRun run = decode(literalFile(1, 1, depth, false, {0, 0, 0, 0}));
        EXPECT_EQ(run.result, 0);
        EXPECT_EQ(run.standardError, "Can't decode TGA - Only 8,15,16,24 and 32 bit TGA accepted. (ie not " +
                                         std::to_string(depth) + ")\n");
        EXPECT_TRUE(run.repaints.empty());
        EXPECT_EQ(run.standardOutput, "");
    }
}

TEST(TgaFailure, EightBitImageWithoutPalette)
{
    // Image type 3 (grey), plain and run-length.
    for (bool rle : {false, true})
    {
        const DecodeRun run = decode(literalFile(2, 1, 8, rle, rle ? Bytes{0x81, 5} : Bytes{5, 6}));
        EXPECT_EQ(run.result, 0);
        EXPECT_EQ(run.standardError,
                  "Can't decode 8 bit / pixel image without a palette.\n" + kFailed + "\n");
        EXPECT_EQ(run.repaints,
                  (std::vector<std::string>{"Can't decode 8 bit / pixel image without a palette.", kFailed}));
        EXPECT_EQ(run.standardOutput, "");
    }
}

TEST(TgaFailure, PaletteEntrySizeThatCannotBeDecoded)
{
    for (uint8_t entryBits : {0, 8, 12, 33})
    {
        TgaImage tga{.width = 2, .height = 1, .depth = 8, .values = {1, 1}};
        tga.colourMap = ColourMap{.first = 0, .entryBits = entryBits, .entries = {0, 0}};
        const DecodeRun run = decode(encodeTga(tga));
        const std::string text =
            "Can't decode palette of depth " + std::to_string(entryBits) + " bits per pixel.";
        EXPECT_EQ(run.result, 0);
        EXPECT_EQ(run.standardError, text + "\n" + kFailed + "\n");
        EXPECT_EQ(run.repaints, (std::vector<std::string>{text, kFailed}));
    }
}

TEST(TgaFailure, PacketCrossingTheRowEndStopsTheDecode)
{
    const Bytes cases[] = {
        {0x84, 1, 2, 3}, // run of 5 in a row of 4
        // A full raw row, then 3 pixels and a run of 2 in the next.
        {0x03, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 0x02, 5, 5, 5, 5, 5, 5, 5, 5, 5, 0x81, 6, 6, 6},
        {0x81, 1, 2, 3, 0x82, 1, 2, 3}, // second packet of 3 after 2 pixels
    };
    for (Bytes data : cases)
    {
        data.resize(data.size() + 8); // longer than the least data two rows need
        const DecodeRun run = decode(literalFile(4, 2, 24, true, data));
        EXPECT_EQ(run.result, 0);
        EXPECT_EQ(run.standardError, "Error in compressed data.\n");
        EXPECT_TRUE(run.repaints.empty());
        EXPECT_TRUE(run.image.pixels.empty());
    }
}

TEST(TgaFailure, TruncatedFilesFailAtEveryCut)
{
    std::vector<Rgba> picture;
    for (int i = 0; i < 130 * 2; ++i)
        picture.push_back(
            {static_cast<uint8_t>(i / 5), static_cast<uint8_t>(i % 3), 7, static_cast<uint8_t>(i)});
    TgaImage plain = tgawriter::fromColours(130, 2, picture, 24);
    plain.id = {1, 2, 3, 4, 5};
    TgaImage packed = tgawriter::fromColours(130, 2, picture, 32);
    packed.rle = true;
    std::vector<uint8_t> indices(130 * 2);
    for (std::size_t i = 0; i < indices.size(); ++i)
        indices[i] = static_cast<uint8_t>(i / 7 % 3);
    TgaImage mapped =
        tgawriter::indexedImage(130, 2, indices, {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 9, 9, 9}}, 16);
    mapped.rle = true;
    mapped.id = {9};

    for (const TgaImage& tga : {plain, packed, mapped})
    {
        const Bytes file = encodeTga(tga);
        ASSERT_EQ(decode(file).result, 1);
        for (std::size_t length = 18; length < file.size(); ++length)
        {
            SCOPED_TRACE(testing::Message() << "depth " << int{tga.depth} << " cut at " << length);
            // A copy of exactly that length, so a read past it is seen by the sanitizers.
            expectFailedToDecode(
                decode(Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length))));
        }
    }
}

TEST(TgaFailure, NegativeSizeFailsAsDataEndingEarly)
{
    for (auto [width, height] : {std::pair{0xFFFF, 1}, std::pair{1, 0x8000}, std::pair{0x8001, 0x8001}})
    {
        Bytes file = literalFile(1, 1, 24, false, Bytes(64, 0));
        putU16(file, 12, static_cast<uint16_t>(width));
        putU16(file, 14, static_cast<uint16_t>(height));
        expectFailedToDecode(decode(file));
    }
}

TEST(TgaFailure, HeaderPromisingMoreThanTheFileHoldsFailsBeforeAllocating)
{
    std::vector<Bytes> files;
    files.push_back(literalFile(0x7FFF, 0x7FFF, 32, false, Bytes(1000, 0)));
    // Run-length data needs at least one packet per 128 pixels of each row.
    files.push_back(literalFile(0x7FFF, 0x7FFF, 32, true, Bytes(4096, 0x80 | 0x7F)));
    files.push_back(literalFile(128 * 10, 4, 8, true, Bytes(10 * 4 * 2 - 1, 0x80 | 0x7F)));
    // An ID, or a colour map, longer than the file, even for an empty image.
    Bytes idOnly = literalFile(0, 0, 24, false, Bytes(254, 0));
    idOnly[0] = 255;
    files.push_back(idOnly);
    Bytes hugeMap = literalFile(1, 1, 8, false, Bytes(100, 0));
    hugeMap[1] = 1;
    putU16(hugeMap, 5, 0xFFFF);
    hugeMap[7] = 32;
    files.push_back(hugeMap);

    for (const Bytes& file : files)
    {
        RecordingReporter reporter;
        RgbaImage image;
        resetLargestAllocation();
        EXPECT_EQ(DecodeTga(reporter, image, file.data(), file.size()), 0);
        EXPECT_LT(largestAllocation(), 1024u);
        EXPECT_EQ(reporter.standardError(), kFailed + "\n");
    }
}

TEST(TgaFailure, RunLengthFileOfTheSmallestPossibleSizeDecodes)
{
    // Exactly one full run packet per 128 pixels: the size check must let it through.
    const DecodeRun run = decode(literalFile(128 * 10, 4, 16, true, Bytes(10 * 4 * 3, 0xFF)));
    ASSERT_EQ(run.result, 1);
    EXPECT_EQ(run.image.pixels.size(), 128u * 10 * 4 * 4);
}

} // namespace
