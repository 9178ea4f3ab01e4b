// The PNG decoder on damaged, oversized and cut files made from our PNG writer's:
// each refused with its reason, before anything large is allocated. (Good
// pictures are compared with their Targa twins through the program.)
#include "AllocationHook.h"
#include "Bytes.h"
#include "PngWriter.h"
#include "image/PngDecoder.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace
{

using namespace pngwriter;

// A grey picture whose header claims another size, its checksum made good.
Bytes claiming(uint32_t width, uint32_t height)
{
    Bytes file = encodePng({.width = 2, .height = 1, .colourType = 0, .samples = {1, 2}});
    for (int i = 0; i < 4; ++i)
    {
        file.at(16 + i) = static_cast<uint8_t>(width >> (24 - 8 * i));
        file.at(20 + i) = static_cast<uint8_t>(height >> (24 - 8 * i));
    }
    const uLong crc = crc32(0, &file.at(12), 17); // of the chunk's type and data
    for (int i = 0; i < 4; ++i)
        file.at(29 + i) = static_cast<uint8_t>(crc >> (24 - 8 * i));
    return file;
}

TEST(PngDecode, DamagedOrHugeFilesSayWhyAndAllocateNothingLarge)
{
    const Bytes good =
        encodePng({.width = 8, .height = 8, .colourType = 6, .samples = std::vector<uint16_t>(256, 7)});
    Bytes badCrc = good;
    badCrc[20] ^= 1;
    Bytes badData = good;
    badData[good.size() - 20] ^= 0xFF;
    const std::tuple<const char*, Bytes, std::string> cases[] = {
        // clang-format off
        {"not a PNG file", Bytes(40, 'x'), "Not a PNG file"},
        {"header checksum", badCrc, "IHDR: CRC error"},
        {"pixel data damaged", badData, "IDAT: incorrect data check"},
        {"wider than the largest side", claiming(4097, 1), "4,097 x 1 pixels, beyond the largest side of 4,096"},
        {"taller than the largest side", claiming(1, 4097), "1 x 4,097 pixels, beyond the largest side of 4,096"},
        {"claims a huge picture", claiming(0x7FFFFFFF, 0x7FFFFFFF),
         "2,147,483,647 x 2,147,483,647 pixels, beyond the largest side of 4,096"},
        {"width zero", claiming(0, 1), "Invalid IHDR data"},
        // clang-format on
    };
    const auto refusal = [](const Bytes& file) // why the file is refused, or "decoded"
    {
        RgbaImage image;
        std::string why;
        return DecodePng(image, file.data(), file.size(), why) == 0 && image.pixels.empty() ? why : "decoded";
    };
    ASSERT_EQ(refusal(good), "decoded");
    for (const auto& [what, file, reason] : cases)
    {
        resetLargestAllocation();
        EXPECT_EQ(refusal(file), reason) << what;
        EXPECT_LT(largestAllocation(), 4096u) << what;
    }
    // Cut anywhere, exactly that long: a read past the end shows in the sanitizer build.
    for (std::size_t length = 0; length < good.size(); ++length)
        EXPECT_EQ(refusal(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length))),
                  "truncated: the file ends after " + std::to_string(length) + " bytes");
}

} // namespace
