#include "image/IndexedPixelFormat.h"

#include "image/Memory.h"

IndexedPixelFormat::IndexedPixelFormat(int32_t bitsPerPixel, int32_t formatId,
                                       std::unique_ptr<Palette> palette)
    : PixelFormat(bitsPerPixel, formatId), m_Palette(std::move(palette))
{
}

std::unique_ptr<PixelFormat> IndexedPixelFormat::Clone() const
{
    std::unique_ptr<Palette> palette;
    if (m_Palette)
    {
        palette = m_Palette->Clone();
        if (!palette)
            return nullptr;
    }
    return makeUniqueOrNull<IndexedPixelFormat>(BitsPerPixel(), FormatId(), std::move(palette));
}

uint32_t IndexedPixelFormat::ReadColour(const uint8_t* pixel) const
{
    if (BitsPerPixel() != kIndexBits)
        return kNoValue;
    return m_Palette ? m_Palette->GetColour(pixel[0]) : 0;
}

uint32_t IndexedPixelFormat::ReadRaw(const uint8_t* pixel) const
{
    return BitsPerPixel() == kIndexBits ? pixel[0] : kNoValue;
}

void IndexedPixelFormat::WriteRaw(uint32_t raw, uint8_t* pixel) const
{
    if (BitsPerPixel() == kIndexBits)
        pixel[0] = static_cast<uint8_t>(raw);
}

uint32_t IndexedPixelFormat::MakeRaw(uint8_t a, uint8_t r, uint8_t g, uint8_t b) const
{
    return m_Palette ? m_Palette->FindNearest(a, r, g, b) : 0;
}

uint32_t IndexedPixelFormat::ConvertFrom(uint32_t raw, const PixelFormat& source) const
{
    if (source.IsIndexed())
        return raw;
    const uint32_t argb = ColourOfRaw(raw, source);
    return MakeRaw(alphaOf(argb), redOf(argb), greenOf(argb), blueOf(argb));
}
