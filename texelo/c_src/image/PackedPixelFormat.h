#pragma once

#include "image/PixelFormat.h"

// A direct-colour format whose pixels are 8, 16, 24 or 32 bits. 16- and
// 32-bit pixels are little-endian; 24-bit pixels are stored most significant
// byte first. Pixels of any other size read as 0 and are never written.
class PackedPixelFormat : public PixelFormat
{
public:
    [[nodiscard]] bool IsIndexed() const override { return false; }
    [[nodiscard]] uint32_t ReadRaw(const uint8_t* pixel) const override;
    void WriteRaw(uint32_t raw, uint8_t* pixel) const override;
    virtual void WriteColour(uint32_t argb, uint8_t* pixel) const = 0;

protected:
    using PixelFormat::PixelFormat;
};
