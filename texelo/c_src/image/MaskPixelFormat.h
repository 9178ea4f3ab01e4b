#pragma once

#include "image/PackedPixelFormat.h"

#include <array>

// Channels of the mask formats, in the order their fields are kept.
enum class Channel : uint8_t
{
    A = 0,
    R = 1,
    G = 2,
    B = 3,
};

// Direct colour described by one bit mask per channel. A channel narrower
// than 8 bits reads back without its low bits filled in (5-bit 31 is 248),
// and a channel with no mask reads as 0.
class MaskPixelFormat final : public PackedPixelFormat
{
public:
    MaskPixelFormat(int32_t bitsPerPixel, uint32_t maskA, uint32_t maskR, uint32_t maskG, uint32_t maskB,
                    int32_t formatId);

    [[nodiscard]] std::unique_ptr<PixelFormat> Clone() const override;
    [[nodiscard]] uint32_t ReadColour(const uint8_t* pixel) const override;
    [[nodiscard]] uint32_t MakeRaw(uint8_t a, uint8_t r, uint8_t g, uint8_t b) const override;
    [[nodiscard]] uint32_t ConvertFrom(uint32_t raw, const PixelFormat& source) const override;
    void WriteColour(uint32_t argb, uint8_t* pixel) const override;

    [[nodiscard]] int32_t ChannelBits(Channel channel) const { return m_ChannelBits[index(channel)]; }
    [[nodiscard]] uint32_t ChannelMask(Channel channel) const { return m_ChannelMask[index(channel)]; }
    [[nodiscard]] int32_t ChannelShift(Channel channel) const { return m_ChannelShift[index(channel)]; }

private:
    static constexpr std::size_t kChannels = 4;
    static constexpr std::size_t index(Channel channel) { return static_cast<std::size_t>(channel); }

    std::array<int32_t, kChannels> m_ChannelBits{};
    std::array<uint32_t, kChannels> m_ChannelMask{};
    std::array<int32_t, kChannels> m_ChannelShift{};
};
