#include "convert/TimImage.h"

#include "convert/LittleEndian.h"

void WriteSpriteHeaders(const TimImage& image, const TimPlacement& placement, std::vector<uint8_t>& out)
{
    uint32_t flags = static_cast<uint32_t>(image.Kind) | (image.hasClut() ? kTimFlagHasClut : 0);
    // SemiTrans is 0x80 | mode: the mode goes to bits 4-5 and its 0x80 to bit 15.
    flags |= static_cast<uint32_t>(placement.SemiTrans & 0x0F) << kTimTransparencyShift;
    if (placement.SemiTrans & 0x80)
        flags |= kTimTransparencyOn;
    putLittle32(out, kTimId);
    putLittle32(out, flags);
    if (image.hasClut())
    {
        putLittle32(out, static_cast<uint32_t>(image.clutBlockBytes()));
        putLittle16(out, placement.ClutX);
        putLittle16(out, placement.ClutY);
        putLittle16(out, placement.ClutWidth != 0 ? placement.ClutWidth
                                                  : static_cast<uint16_t>(image.Clut.size()));
        putLittle16(out, placement.ClutHeight);
        for (const uint16_t colour : image.Clut)
            putLittle16(out, colour);
    }
    putLittle32(out, static_cast<uint32_t>(image.pixelBlockBytes()));
    putLittle16(out, placement.PixelX);
    putLittle16(out, placement.PixelY);
    putLittle16(out, image.PixelWidth);
    putLittle16(out, image.Height);
}

std::vector<uint8_t> EncodeTim(const TimImage& image, const TimPlacement& placement)
{
    std::vector<uint8_t> out;
    out.reserve(image.encodedSize());
    WriteSpriteHeaders(image, placement, out);
    out.insert(out.end(), image.Texels.begin(), image.Texels.end());
    return out;
}
