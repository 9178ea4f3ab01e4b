#include "image/PixelFormat.h"

#include <array>

uint32_t PixelFormat::ColourOfRaw(uint32_t raw, const PixelFormat& source)
{
    std::array<uint8_t, 4> pixel{};
    source.WriteRaw(raw, pixel.data());
    return source.ReadColour(pixel.data());
}
