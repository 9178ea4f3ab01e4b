// Builds PNG files from plain descriptions through libpng's write interface,
// sharing no code with Texelo's decoder.
#pragma once

#include <array>
#include <cstdint>
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
