#pragma once

#include <cstdint>
#include <memory>

// How the bytes of one pixel are read and written. Colours travel as 32-bit
// ARGB (A in bits 24-31, R 16-23, G 8-15, B 0-7); a raw value is a pixel's
// own number in its format (a packed colour or a palette index).
class PixelFormat
{
public:
    virtual ~PixelFormat() = default;
    PixelFormat& operator=(const PixelFormat&) = delete;

    // An independent copy; null when memory runs out.
    [[nodiscard]] virtual std::unique_ptr<PixelFormat> Clone() const = 0;
    [[nodiscard]] virtual bool IsIndexed() const = 0;
    [[nodiscard]] virtual uint32_t ReadColour(const uint8_t* pixel) const = 0;
    [[nodiscard]] virtual uint32_t ReadRaw(const uint8_t* pixel) const = 0;
    virtual void WriteRaw(uint32_t raw, uint8_t* pixel) const = 0;
    [[nodiscard]] virtual uint32_t MakeRaw(uint8_t a, uint8_t r, uint8_t g, uint8_t b) const = 0;
    // The raw value in this format for `raw` of the format `source`.
    [[nodiscard]] virtual uint32_t ConvertFrom(uint32_t raw, const PixelFormat& source) const = 0;

    [[nodiscard]] int32_t BitsPerPixel() const { return m_BitsPerPixel; }
    [[nodiscard]] int32_t FormatId() const { return m_FormatId; }

protected:
    PixelFormat(int32_t bitsPerPixel, int32_t formatId) : m_BitsPerPixel(bitsPerPixel), m_FormatId(formatId)
    {
    }
    PixelFormat(const PixelFormat&) = default;

    // The colour `source` gives for its raw value `raw`. The value is laid
    // down in the source's own byte order first, so that a 24-bit raw value
    // (stored most significant byte first) reads back as itself.
    [[nodiscard]] static uint32_t ColourOfRaw(uint32_t raw, const PixelFormat& source);

private:
    int32_t m_BitsPerPixel;
    int32_t m_FormatId;
};

// ARGB channel helpers.
[[nodiscard]] constexpr uint8_t alphaOf(uint32_t argb)
{
    return static_cast<uint8_t>(argb >> 24);
}
[[nodiscard]] constexpr uint8_t redOf(uint32_t argb)
{
    return static_cast<uint8_t>(argb >> 16);
}
[[nodiscard]] constexpr uint8_t greenOf(uint32_t argb)
{
    return static_cast<uint8_t>(argb >> 8);
}
[[nodiscard]] constexpr uint8_t blueOf(uint32_t argb)
{
    return static_cast<uint8_t>(argb);
}
