// Builds Targa files byte by byte from plain descriptions, sharing no code
// with Texelo's decoder. Pixel values are the numbers a file stores
// (little-endian): for 24 and 32 bits 0xAARRGGBB (the file holds B, G, R, A),
// for 15 and 16 bits 0bARRRRRGGGGGBBBBB, colour-map indices with a map.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tgawriter
{

using Bytes = std::vector<uint8_t>;

struct Rgba
{
    uint8_t r = 0, g = 0, b = 0, a = 0;
    bool operator==(const Rgba&) const = default;
};

// The value a file of `bits` per pixel (15, 16, 24 or 32) stores for a colour:
// 15/16 bits keep each channel's top 5 bits, 16 bits set bit 15 for alpha >= 128.
[[nodiscard]] uint32_t storedValue(Rgba colour, int bits);

struct ColourMap
{
    uint16_t first = 0;              // index of the first entry
    uint8_t entryBits = 24;          // 15, 16, 24 or 32; any other size writes (bits + 7) / 8 bytes an entry
    std::vector<uint32_t> entries{}; // stored values, as pixels are
};

struct TgaImage
{
    int width = 0, height = 0;
    uint8_t depth = 24;             // bits per stored pixel: 8, 15, 16, 24, 32 (others for bad input)
    std::vector<uint32_t> values{}; // width x height stored values, top row first
    std::optional<ColourMap> colourMap{};
    bool rle = false;                 // image types 9/10/11 instead of 1/2/3
    bool topDown = false;             // store the top row first and say so in the descriptor
    Bytes id{};                       // image ID bytes after the header
    std::optional<Bytes> pixelData{}; // when set, written verbatim instead of the encoded pixels
};

// The whole file; the image type follows from the description.
[[nodiscard]] Bytes encodeTga(const TgaImage& tga);

// A direct-colour image (depth 15, 16, 24 or 32) from colours, top row first.
[[nodiscard]] TgaImage fromColours(int width, int height, const std::vector<Rgba>& pixels, uint8_t depth);

// An 8-bit colour-mapped image: one index per pixel, top row first, and a
// palette stored with entries of `entryBits`.
[[nodiscard]] TgaImage indexedImage(int width, int height, const std::vector<uint8_t>& indices,
                                    const std::vector<Rgba>& palette, uint8_t entryBits = 24);

// Writes bytes to `path`; false when the file cannot be written completely.
[[nodiscard]] bool writeTgaFile(const std::string& path, const Bytes& bytes);

} // namespace tgawriter
