#pragma once

// lumarc/render owns the picture of a render list: the canvas, the quad fill,
// the overlay outlines and labels, and the layout drawing that uses them.

#include "PngFile.h"

#include <cstdint>
#include <vector>

// Colours are 0x00RRGGBB, as render entries store them.
using Rgb = uint32_t;

[[nodiscard]] constexpr Rgb rgb(uint32_t r, uint32_t g, uint32_t b)
{
    return (r << 16) | (g << 8) | b;
}
[[nodiscard]] constexpr uint32_t redOf(Rgb colour)
{
    return (colour >> 16) & 0xFF;
}
[[nodiscard]] constexpr uint32_t greenOf(Rgb colour)
{
    return (colour >> 8) & 0xFF;
}
[[nodiscard]] constexpr uint32_t blueOf(Rgb colour)
{
    return colour & 0xFF;
}

// A width x height raster, black until drawn on. Everything drawn is clipped
// to it: coordinates may be anywhere in the 32-bit range.
class Canvas
{
public:
    // Sizes are the caller's to bound; a 0 width or height gives no pixels.
    Canvas(int32_t width, int32_t height);

    [[nodiscard]] int32_t width() const { return m_width; }
    [[nodiscard]] int32_t height() const { return m_height; }
    [[nodiscard]] bool contains(int64_t x, int64_t y) const
    {
        return x >= 0 && y >= 0 && x < m_width && y < m_height;
    }
    // Sets one pixel; nothing outside the canvas.
    void plot(int64_t x, int64_t y, Rgb colour)
    {
        if (contains(x, y))
            m_pixels[static_cast<std::size_t>(y * m_width + x)] = colour;
    }
    // The pixel at (x, y), which must be inside.
    [[nodiscard]] Rgb at(int32_t x, int32_t y) const
    {
        return m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
                        static_cast<std::size_t>(x)];
    }
    // Every pixel opaque, for the PNG writer.
    [[nodiscard]] RgbaPicture picture() const;

private:
    int32_t m_width;
    int32_t m_height;
    std::vector<Rgb> m_pixels;
};
