#pragma once

#include <algorithm>
#include <cstdint>

// The PSX stores colours as 15 bits (red in bits 0-4, green 5-9, blue 10-14)
// plus the semi-transparency bit 15. Every 8-bit channel is reduced the same
// way everywhere colours are converted, so identical source colours always
// meet as identical PSX colours.

inline constexpr uint16_t kPsxStpBit = 0x8000;
inline constexpr uint16_t kPsxColourMask = 0x7FFF;

// Rounds an 8-bit channel to 5 bits; 252-255 would round to 32, so the
// result is held at 31.
[[nodiscard]] constexpr uint16_t reduceChannel(uint8_t channel)
{
    return static_cast<uint16_t>(std::min((channel + 4) >> 3, 31));
}

[[nodiscard]] constexpr uint16_t psxColour15(uint8_t r, uint8_t g, uint8_t b)
{
    return static_cast<uint16_t>(reduceChannel(r) | (reduceChannel(g) << 5) | (reduceChannel(b) << 10));
}
