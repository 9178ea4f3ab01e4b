#pragma once

#include <algorithm>
#include <cstdint>

// The PSX stores colours as 15 bits (red in bits 0-4, green 5-9, blue 10-14)
// plus the semi-transparency bit 15. Every colour Texelo writes is packed
// here, so identical source colours always meet as identical PSX colours.

inline constexpr uint16_t kPsxStpBit = 0x8000;
inline constexpr uint16_t kPsxColourMask = 0x7FFF;

// Packs three 5-bit channels (higher bits are dropped).
[[nodiscard]] constexpr uint16_t packPsxColour(uint16_t r5, uint16_t g5, uint16_t b5)
{
    return static_cast<uint16_t>((b5 & 0x1F) << 10 | (g5 & 0x1F) << 5 | (r5 & 0x1F));
}

// The 5-bit channels of a PSX colour, red first.
struct PsxChannels
{
    uint8_t r5 = 0, g5 = 0, b5 = 0;
};

[[nodiscard]] constexpr PsxChannels unpackPsxColour(uint16_t colour)
{
    return {static_cast<uint8_t>(colour & 0x1F), static_cast<uint8_t>(colour >> 5 & 0x1F),
            static_cast<uint8_t>(colour >> 10 & 0x1F)};
}

// Rounds an 8-bit channel to 5 bits; 252-255 would round to 32, so the
// result is held at 31.
[[nodiscard]] constexpr uint16_t reduceChannel(uint8_t channel)
{
    return static_cast<uint16_t>(std::min((channel + 4) >> 3, 31));
}

[[nodiscard]] constexpr uint16_t psxColour15(uint8_t r, uint8_t g, uint8_t b)
{
    return packPsxColour(reduceChannel(r), reduceChannel(g), reduceChannel(b));
}

// PSX colour of 5-bit channels; a non-black colour with alpha 0 gets the STP
// bit, so black is always the transparent 0x0000.
[[nodiscard]] constexpr uint16_t psxColourWithStp(uint8_t r5, uint8_t g5, uint8_t b5, uint8_t alpha)
{
    const uint16_t value = packPsxColour(r5, g5, b5);
    return (value != 0 && alpha == 0) ? static_cast<uint16_t>(value | kPsxStpBit) : value;
}

// Every colour but the transparent 0 marked opaque, as remapped CLUTs are.
[[nodiscard]] constexpr uint16_t opaqueUnlessBlack(uint16_t colour)
{
    return colour == 0 ? uint16_t{0} : static_cast<uint16_t>(colour | kPsxStpBit);
}
