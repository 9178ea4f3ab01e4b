// The texture decoder on files made by the Targa writer: every depth, row
// order, packing and colour map decoded to colours written out here, then
// every header and truncation it refuses, with the texts it gives.
#include "AllocationHook.h"
#include "Bytes.h"
#include "TgaWriter.h"
#include "image/TgaDecoder.h"

#include <gtest/gtest.h>

#include <array>

namespace
{

using namespace tgawriter;

// clang-format off
struct Decoded { int result = -1; Bytes pixels /* R, G, B, A, top row first */; std::string reason; };
// clang-format on

Decoded decode(const Bytes& file)
{
    RgbaImage image;
    std::string reason;
    const int result = DecodeTga(image, file.data(), file.size(), reason);
    return {result, image.pixels, reason};
}

Bytes withData(int width, int height, uint8_t depth, bool rle, Bytes data, std::optional<ColourMap> map = {})
{
    TgaImage tga{.width = width, .height = height, .depth = depth, .colourMap = std::move(map), .rle = rle};
    tga.pixelData = std::move(data);
    return encodeTga(tga);
}

// Channels that 5-bit storage keeps, so every depth must give them back
// exactly; alpha only where 32 bits store it.
const std::vector<Rgba> kColours = {
    {0xF8, 0x08, 0x80, 0xFF}, {0x10, 0x20, 0x30, 0}, {0, 0, 0xF8, 0x40}, {0xA8, 0x50, 0, 0x80}};

// 300 pixels a row of kColours: a run longer than one packet, a raw stretch,
// another run; each row differs from the others.
uint8_t sampleIndex(int x, int y)
{
    return static_cast<uint8_t>((x < 140 ? y : x < 200 ? x + y : y + 1) % 4);
}

TgaImage sample(bool mapped, uint8_t bits, int height, bool rle, bool topDown = false)
{
    std::vector<uint8_t> indices;
    std::vector<Rgba> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < 300; ++x)
        {
            indices.push_back(sampleIndex(x, y));
            pixels.push_back(kColours[indices.back()]);
        }
    TgaImage tga =
        mapped ? indexedImage(300, height, indices, kColours, bits) : fromColours(300, height, pixels, bits);
    tga.rle = rle;
    tga.topDown = topDown;
    return tga;
}

TEST(TgaDecode, EveryDepthAndEntrySizeRowOrderAndPacking)
{
    for (int variant = 0; variant < 32; ++variant)
    {
        const bool mapped = variant & 1, rle = variant & 2, topDown = variant & 4;
        const uint8_t bits = std::array<uint8_t, 4>{15, 16, 24, 32}[variant >> 3];
        SCOPED_TRACE(testing::Message() << "mapped " << mapped << " bits " << int{bits} << " rle " << rle
                                        << " top-down " << topDown);
        // The origin bit is ignored: a top-down file comes out upside down.
        Bytes expected;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 300; ++x)
            {
                const Rgba c = kColours[sampleIndex(x, topDown ? 2 - y : y)];
                expected.insert(expected.end(), {c.r, c.g, c.b, bits == 32 ? c.a : uint8_t{0}});
            }
        const Decoded d = decode(encodeTga(sample(mapped, bits, 3, rle, topDown)));
        ASSERT_EQ(d.result, 1);
        EXPECT_EQ(d.pixels, expected);
        EXPECT_EQ(d.reason, "");
    }
}

TEST(TgaDecode, StoredBytesBecomeTheseColours)
{
    const ColourMap map{.first = 10, .entryBits = 24, .entries = {0x010203, 0x040506, 0x070809, 0x0A0B0C}};
    Bytes white;
    for (int i = 0; i < 128 * 3 * 2; ++i)
        white.insert(white.end(), {248, 248, 248, 0});
    const std::tuple<const char*, Bytes, Bytes> cases[] = {
        // clang-format off
        {"24 bits are B, G, R", withData(2, 1, 24, false, {0x10, 0x20, 0x30, 1, 2, 3}), {0x30, 0x20, 0x10, 0, 3, 2, 1, 0}},
        {"32 bits are B, G, R, A", withData(1, 1, 32, false, {0x10, 0x20, 0x30, 0x80}), {0x30, 0x20, 0x10, 0x80}},
        {"16 bits: 5-bit channels shifted up, bit 15 ignored",
         withData(6, 1, 16, false, {0xFF, 0xFF, 0x00, 0x80, 0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0x21, 0x04}),
         {248, 248, 248, 0, 0, 0, 0, 0, 248, 0, 0, 0, 0, 248, 0, 0, 0, 0, 248, 0, 8, 8, 8, 0}},
        {"run and raw packets restart at each row, the bottom row first",
         withData(4, 2, 24, true, {0x83, 9, 8, 7, 0x02, 1, 1, 1, 2, 2, 2, 3, 3, 3, 0x80, 4, 4, 4}),
         {1, 1, 1, 0, 2, 2, 2, 0, 3, 3, 3, 0, 4, 4, 4, 0, 7, 8, 9, 0, 7, 8, 9, 0, 7, 8, 9, 0, 7, 8, 9, 0}},
        {"indices outside the map are black", withData(6, 1, 8, false, {9, 10, 13, 14, 0, 255}, map),
         {0, 0, 0, 0, 1, 2, 3, 0, 10, 11, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"16-bit pixels are indices when a map is present",
         withData(2, 1, 16, false, {0x02, 0x01, 0x00, 0x01}, ColourMap{.first = 0x100, .entryBits = 32, .entries = {0xFF000000, 0, 0x80112233}}),
         {0x11, 0x22, 0x33, 0x80, 0, 0, 0, 0xFF}},
        {"run-length indices", withData(3, 1, 8, true, {0x81, 1, 0x00, 5}, ColourMap{.entryBits = 16, .entries = {0x7C00, 0x001F}}),
         {0, 0, 248, 0, 0, 0, 248, 0, 0, 0, 0, 0}},
        {"an undecodable map matters only for indices inside it",
         withData(2, 1, 8, false, {0, 200}, ColourMap{.first = 1, .entryBits = 8, .entries = {1, 2, 3}}), Bytes(8, 0)},
        {"no rows", withData(9, 0, 24, true, {}), {}},
        {"one full run packet per 128 pixels is enough", withData(128 * 3, 2, 16, true, Bytes(3 * 2 * 3, 0xFF)), white},
        // clang-format on
    };
    for (const auto& [what, file, pixels] : cases)
    {
        SCOPED_TRACE(what);
        const Decoded d = decode(file);
        EXPECT_EQ(d.result, 1);
        EXPECT_EQ(d.pixels, pixels);
        EXPECT_EQ(d.reason, "");
    }
    // An index one past the map is black too, never whatever lies behind the
    // decoded map; maps of many lengths put different memory there.
    for (uint8_t length = 1; length <= 40; ++length)
    {
        const ColourMap map{.entryBits = 24, .entries = std::vector<uint32_t>(length, 0x010101)};
        EXPECT_EQ(decode(withData(2, 1, 8, false, {length, 0}, map)).pixels, (Bytes{0, 0, 0, 0, 1, 1, 1, 0}))
            << int{length} << " entries";
    }
}

TEST(TgaDecode, RefusedOrCutFilesSayWhyAndAllocateNothingLarge)
{
    Bytes longId = withData(0, 0, 24, false, Bytes(254, 0));
    longId[0] = 255;
    Bytes longMap = withData(1, 1, 8, false, Bytes(100), ColourMap{.entryBits = 32, .entries = {0}});
    patchLittleEndian(longMap, 5, 0xFFFF, 2);
    const auto padded = [](Bytes data)
    {
        data.resize(data.size() + 24); // more than two rows need, so only the packets are wrong
        return data;
    };
    const std::tuple<const char*, Bytes, std::string> cases[] = {
        // what, file, reason
        // clang-format off
        {"depth 12", withData(1, 1, 12, false, Bytes(4)), "pixel depth 12 (only 8, 15, 16, 24 and 32 bits are decoded)"},
        {"8 bits without a map", withData(2, 1, 8, true, {0x81, 5}), "8-bit pixels without a colour map"},
        {"map entries of 8 bits", withData(2, 1, 8, false, {1, 1}, ColourMap{.entryBits = 8, .entries = {0, 0}}),
         "a colour map of 8-bit entries, which cannot be decoded"},
        {"a run of 5 in a row of 4", withData(4, 2, 24, true, padded({0x84, 1, 2, 3})), "a run-length packet crosses the end of stored row 1 of 2"},
        {"3 pixels after 2 in a row of 4", withData(4, 2, 24, true, padded({0x81, 1, 2, 3, 0x82, 1, 2, 3})),
         "a run-length packet crosses the end of stored row 1 of 2"},
        {"width above 32767", withData(0x8000, 0, 24, false, {}), "32768 x 0 pixels, beyond the largest side of 32,767"},
        {"more pixels than bytes", withData(0x7FFF, 0x7FFF, 32, false, Bytes(1000)), "truncated: 1,018 of 4,294,705,174 bytes"},
        {"fewer run packets than rows need", withData(128 * 10, 4, 16, true, Bytes(10 * 4 * 3 - 1, 0xFF)), "truncated: 137 of 138 bytes"},
        {"ID longer than the file", longId, "truncated: 272 of 273 bytes"}, {"map longer than the file", longMap, "truncated: 122 of 262,159 bytes"},
        {"run-length data ends in the second row", withData(2, 2, 24, true, {0x81, 1, 2, 3, 0x00, 1, 2, 3}),
         "truncated: the run-length data ends in stored row 2 of 2"},
        // clang-format on
    };
    for (const auto& [what, file, reason] : cases)
    {
        SCOPED_TRACE(what);
        resetLargestAllocation();
        const Decoded d = decode(file);
        EXPECT_LT(largestAllocation(), 4096u);
        EXPECT_EQ(d.result, 0);
        EXPECT_EQ(d.reason, reason);
        EXPECT_TRUE(d.pixels.empty());
    }
    // Files cut anywhere.
    for (const auto& [mapped, bits, rle] : {std::tuple{false, 24, false}, {false, 32, true}, {true, 16, true}})
    {
        TgaImage tga = sample(mapped, static_cast<uint8_t>(bits), 1, rle);
        tga.id = {1, 2, 3};
        const Bytes file = encodeTga(tga);
        ASSERT_EQ(decode(file).result, 1);
        for (std::size_t length = 0; length < file.size(); ++length)
        {
            SCOPED_TRACE(testing::Message() << "depth " << int{tga.depth} << " cut at " << length);
            // A copy of exactly that length, so that a read past it shows in the sanitizer build.
            const Decoded d = decode(Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length)));
            EXPECT_EQ(d.result, 0);
            // Run-length data is only known to be short once it is read.
            if (length < 18 || !rle)
                EXPECT_EQ(d.reason, "truncated: " + std::to_string(length) + " of " +
                                        std::to_string(length < 18 ? 18 : file.size()) + " bytes");
            else
                EXPECT_TRUE(d.reason.starts_with("truncated: ")) << d.reason;
        }
    }
}

} // namespace
