#include "image/PackedPixelFormat.h"

uint32_t PackedPixelFormat::ReadRaw(const uint8_t* pixel) const
{
    switch (BitsPerPixel())
    {
    case 8:
        return pixel[0];
    case 16:
        return uint32_t{pixel[0]} | uint32_t{pixel[1]} << 8;
    case 24:
        return uint32_t{pixel[0]} << 16 | uint32_t{pixel[1]} << 8 | uint32_t{pixel[2]};
    case 32:
        return uint32_t{pixel[0]} | uint32_t{pixel[1]} << 8 | uint32_t{pixel[2]} << 16 |
               uint32_t{pixel[3]} << 24;
    default:
        return 0;
    }
}

void PackedPixelFormat::WriteRaw(uint32_t raw, uint8_t* pixel) const
{
    switch (BitsPerPixel())
    {
    case 8:
        pixel[0] = static_cast<uint8_t>(raw);
        break;
    case 16:
        pixel[0] = static_cast<uint8_t>(raw);
        pixel[1] = static_cast<uint8_t>(raw >> 8);
        break;
    case 24:
        pixel[0] = static_cast<uint8_t>(raw >> 16);
        pixel[1] = static_cast<uint8_t>(raw >> 8);
        pixel[2] = static_cast<uint8_t>(raw);
        break;
    case 32:
        pixel[0] = static_cast<uint8_t>(raw);
        pixel[1] = static_cast<uint8_t>(raw >> 8);
        pixel[2] = static_cast<uint8_t>(raw >> 16);
        pixel[3] = static_cast<uint8_t>(raw >> 24);
        break;
    default:
        break;
    }
}
