#pragma once

// PNG pictures, decoded through libpng into the same pixels a Targa file of
// the same picture gives, so that either file makes the same bank.

#include "files/RunFiles.h"
#include "image/RgbaImage.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The widest and tallest picture decoded. Judged from the header before
// anything is allocated; larger than any texture or backdrop Texelo can
// place, so that such pictures still reach the message that says they are
// too large.
inline constexpr uint32_t kLargestPngSide = 4096;

// Decodes a whole PNG file held in memory into `image`, as DecodeTga does:
// every colour type and bit depth, interlaced or not. Colour without alpha
// comes out with A = 0 (as 24-bit Targa pixels do), alpha as stored,
// palettes and grey expanded (a tRNS chunk gives the alpha), 16-bit
// channels rounded to 8 bits; no gamma is applied. 1 on success; 0 on
// failure, with `image` empty and `reason` saying why.
[[nodiscard]] int DecodePng(RgbaImage& image, const uint8_t* fileBytes, std::size_t fileLength,
                            std::string& reason);

// A palette picture as its entries' numbers, one byte a pixel, top row
// first.
struct IndexedPicture
{
    uint32_t Width = 0;
    uint32_t Height = 0;
    std::vector<uint8_t> Indices;
};

enum class PngIndexResult : uint8_t
{
    Decoded = 0,
    NotIndexed = 1, // a valid picture, but not of the palette colour type
    Failed = 2,     // `reason` says why
};

// Decodes a palette PNG into the numbers of its pixels' palette entries.
[[nodiscard]] PngIndexResult DecodePngIndices(IndexedPicture& picture, const uint8_t* fileBytes,
                                              std::size_t fileLength, std::string& reason);

// Reads and decodes a PNG file named as a script names it, as LoadTgaFile
// does for Targa files.
[[nodiscard]] PictureFile LoadPngFile(RunFiles& files, std::string_view path, Presence presence);
