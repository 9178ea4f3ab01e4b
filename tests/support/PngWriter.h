// Builds PNG files from plain descriptions through libpng's write interface,
// sharing no code with Texelo's decoder, and reads the pictures our programs
// write back as RGBA.
#pragma once

#include "TgaWriter.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace pngwriter
{

using Bytes = std::vector<uint8_t>;

struct PngImage
{
    int width = 0, height = 0;
    int colourType = 2;              // 0 grey, 2 RGB, 3 palette, 4 grey and alpha, 6 RGBA
    int bitDepth = 8;                // 1, 2, 4, 8 or 16, as the colour type allows
    std::vector<uint16_t> samples{}; // width x height x channels values, top row first
    std::vector<std::array<uint8_t, 3>> palette{};
    std::vector<uint16_t> transparent{}; // tRNS: alpha per palette entry, or the one grey or R, G, B key
    bool interlaced = false;
};

// The whole file; empty when libpng refuses the description.
[[nodiscard]] Bytes encodePng(const PngImage& png);

} // namespace pngwriter

struct Picture
{
    int width = 0, height = 0;
    std::vector<tgawriter::Rgba> pixels; // top row first

    [[nodiscard]] tgawriter::Rgba at(int x, int y) const { return pixels.at(std::size_t(y * width + x)); }
};

// The PNG file's pixels; an empty picture when it cannot be read.
[[nodiscard]] Picture readPng(const std::string& path);

namespace pngwriter
{

} // namespace pngwriter
