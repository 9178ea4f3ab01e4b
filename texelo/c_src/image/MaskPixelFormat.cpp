#include "image/MaskPixelFormat.h"

#include "image/Memory.h"

#include <bit>

namespace
{

constexpr int kChannelWidth = 8; // colours travel with 8 bits a channel

// A channel value of `bits` bits as 8 bits: narrower values are shifted up
// with their low bits left 0, wider ones keep their top 8 bits.
uint32_t widenTo8(uint32_t value, int bits)
{
    return bits <= kChannelWidth ? value << (kChannelWidth - bits) : value >> (bits - kChannelWidth);
}

uint32_t narrowFrom8(uint32_t value, int bits)
{
    return bits <= kChannelWidth ? value >> (kChannelWidth - bits) : value << (bits - kChannelWidth);
}

// Byte position of each channel in an ARGB value, in Channel order.
constexpr int kArgbShift[] = {24, 16, 8, 0};

} // namespace

MaskPixelFormat::MaskPixelFormat(int32_t bitsPerPixel, uint32_t maskA, uint32_t maskR, uint32_t maskG,
                                 uint32_t maskB, int32_t formatId)
    : PackedPixelFormat(bitsPerPixel, formatId), m_ChannelMask{maskA, maskR, maskG, maskB}
{
    for (std::size_t c = 0; c < kChannels; ++c)
    {
        const uint32_t mask = m_ChannelMask[c];
        if (mask == 0)
            continue;
        m_ChannelShift[c] = std::countr_zero(mask);
        m_ChannelBits[c] = std::countr_one(mask >> m_ChannelShift[c]);
    }
}

std::unique_ptr<PixelFormat> MaskPixelFormat::Clone() const
{
    return makeUniqueOrNull<MaskPixelFormat>(*this);
}

uint32_t MaskPixelFormat::ReadColour(const uint8_t* pixel) const
{
    const uint32_t raw = ReadRaw(pixel);
    uint32_t argb = 0;
    for (std::size_t c = 0; c < kChannels; ++c)
    {
        const uint32_t value = (raw & m_ChannelMask[c]) >> m_ChannelShift[c];
        argb |= (widenTo8(value, m_ChannelBits[c]) & 0xFF) << kArgbShift[c];
    }
    return argb;
}

uint32_t MaskPixelFormat::MakeRaw(uint8_t a, uint8_t r, uint8_t g, uint8_t b) const
{
    const uint8_t channels[kChannels] = {a, r, g, b};
    uint32_t raw = 0;
    for (std::size_t c = 0; c < kChannels; ++c)
        raw |= (narrowFrom8(channels[c], m_ChannelBits[c]) << m_ChannelShift[c]) & m_ChannelMask[c];
    return raw;
}

uint32_t MaskPixelFormat::ConvertFrom(uint32_t raw, const PixelFormat& source) const
{
    const uint32_t argb = ColourOfRaw(raw, source);
    return MakeRaw(alphaOf(argb), redOf(argb), greenOf(argb), blueOf(argb));
}

void MaskPixelFormat::WriteColour(uint32_t argb, uint8_t* pixel) const
{
    WriteRaw(MakeRaw(alphaOf(argb), redOf(argb), greenOf(argb), blueOf(argb)), pixel);
}
