#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// TIM pixel modes, as in the flags word of a TIM image.
enum class TimKind : uint8_t
{
    Indexed4 = 0,
    Indexed8 = 1,
    Direct16 = 2,
    Direct24 = 3, // refused: the console cannot place it
};

// Bits a texel of the kind holds: 4, 8, 16 or 24.
[[nodiscard]] constexpr int bitsPerTexel(TimKind kind)
{
    return kind == TimKind::Direct24 ? 24 : 4 << static_cast<int>(kind);
}

// A texture as a TIM image holds it. The encoded image (little-endian) is:
// id 0x10, flags (pixel mode, OR 8 with a CLUT, transparency in bits 4-7 and
// 15), then the CLUT block (length 12 + 2n, x, y, width, height, n colours),
// then the pixel block (length, x, y, width in texels, height, texel rows).
inline constexpr uint32_t kTimId = 0x10;
inline constexpr uint32_t kTimModeMask = 0x7; // TimKind in the flags
inline constexpr uint32_t kTimFlagHasClut = 8;
// The transparency mode sits in flag bits 4-5; bit 15 says one is set.
inline constexpr uint32_t kTimTransparencyShift = 4;
inline constexpr uint32_t kTimTransparencyMask = 0x3;
inline constexpr uint32_t kTimTransparencyOn = 0x8000;
inline constexpr std::size_t kTimFirstBlock = 8;
inline constexpr std::size_t kTimBlockHeaderBytes = 12; // length, x, y, width, height
inline constexpr std::size_t kTimBlockAreaBytes = 8;    // x, y, width, height
// Where the converter puts a texture until placement says otherwise.
inline constexpr uint16_t kTimClutY = 480;
inline constexpr uint16_t kTimPixelX = 640;

struct TimImage
{
    TimKind Kind = TimKind::Indexed4;
    std::vector<uint16_t> Clut; // the CLUT block's colours; empty for a 16-bit texture
    uint16_t PixelWidth = 0;    // the pixel block's width field: texels, not words
    uint16_t Height = 0;
    std::vector<uint8_t> Texels; // rows of whole 16-bit words

    [[nodiscard]] bool hasClut() const { return Kind == TimKind::Indexed4 || Kind == TimKind::Indexed8; }
    [[nodiscard]] std::size_t clutBlockBytes() const
    {
        return hasClut() ? kTimBlockHeaderBytes + 2 * Clut.size() : 0;
    }
    [[nodiscard]] std::size_t pixelBlockBytes() const { return kTimBlockHeaderBytes + Texels.size(); }
    [[nodiscard]] std::size_t encodedSize() const
    {
        return kTimFirstBlock + clutBlockBytes() + pixelBlockBytes();
    }
};

// The block positions and the flags' transparency bits an encoded image
// carries; the defaults are the converter's.
struct TimPlacement
{
    uint8_t SemiTrans = 0; // 0, or 0x80 | transparency mode
    uint16_t ClutX = 0, ClutY = kTimClutY;
    uint16_t ClutWidth = 0; // 0: the number of colours
    uint16_t ClutHeight = 1;
    uint16_t PixelX = kTimPixelX, PixelY = 0;
};

// Appends the id, the flags, the CLUT block and the pixel block's header.
void WriteSpriteHeaders(const TimImage& image, const TimPlacement& placement, std::vector<uint8_t>& out);

// The whole image: headers, CLUT and texels.
[[nodiscard]] std::vector<uint8_t> EncodeTim(const TimImage& image, const TimPlacement& placement = {});
