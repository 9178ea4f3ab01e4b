#pragma once

// Shared pieces of the conversion tests: an RGBA image builder and TIM field
// readers.

#include "convert/PsxConvert.h"
#include "CapturingReporter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

struct Rgba
{
    uint8_t r = 0, g = 0, b = 0, a = 0;
};

// Colour number i (0-32767) as 8-bit channels that reduce back to i's three
// 5-bit fields exactly, so the tests know every reduced value.
inline Rgba distinctColour(uint32_t i, uint8_t alpha = 0)
{
    return {static_cast<uint8_t>((i & 31) * 8), static_cast<uint8_t>(((i >> 5) & 31) * 8),
            static_cast<uint8_t>(((i >> 10) & 31) * 8), alpha};
}

struct TestImage
{
    TestImage(int w, int h, Rgba fill = {}) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h * 4)
    {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                set(x, y, fill);
    }

    // Pixel i (in image order) gets colour number i % colours.
    static TestImage withColours(int w, int h, uint32_t colours)
    {
        TestImage image(w, h);
        for (int i = 0; i < w * h; ++i)
            image.set(i % w, i / w, distinctColour(static_cast<uint32_t>(i) % colours));
        return image;
    }

    void set(int x, int y, Rgba c)
    {
        uint8_t* p = &pixels[(static_cast<std::size_t>(y) * width + x) * 4];
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
        p[3] = c.a;
    }

    int width;
    int height;
    std::vector<uint8_t> pixels;
};

class ConvertTest : public ::testing::Test
{
protected:
    uint32_t convert(TestImage& image, const char* name = "T.TGA")
    {
        return convertPixels(image.pixels.data(), image.width, image.height, name);
    }

    // Converts and keeps the TIM image's bytes in `sprite`; its size, 0 when
    // the conversion failed.
    uint32_t convertPixels(uint8_t* pixels, int width, int height, const char* name = "T.TGA")
    {
        const std::optional<TimImage> image =
            ConvertToPsx(settings, colours, reporter, pixels, width, height, name);
        sprite = image ? EncodeTim(*image) : std::vector<uint8_t>{};
        return static_cast<uint32_t>(sprite.size());
    }

    [[nodiscard]] uint16_t sprite16(std::size_t offset) const
    {
        return static_cast<uint16_t>(sprite.at(offset) | sprite.at(offset + 1) << 8);
    }
    [[nodiscard]] uint32_t sprite32(std::size_t offset) const
    {
        return sprite16(offset) | static_cast<uint32_t>(sprite16(offset + 2)) << 16;
    }
    [[nodiscard]] uint16_t clutEntry(std::size_t i) const { return sprite16(20 + 2 * i); }
    // Offset of the pixel block header: behind the CLUT block when flags has 8.
    [[nodiscard]] std::size_t pixelBlock() const { return (sprite32(4) & 8) ? 8 + sprite32(8) : 8; }
    [[nodiscard]] uint8_t texelByte(std::size_t i) const { return sprite.at(pixelBlock() + 12 + i); }

    CapturingReporter reporter;
    ConversionSettings settings;
    ColourTable colours;
    std::vector<uint8_t> sprite;
};
