#pragma once

// The image room owns decoding pictures: the Targa decoder of textures and
// the image library (bitmaps, pixel formats, palettes) with its loader.

#include "files/RunFiles.h"
#include "report/TexeloReporter.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

// A decoded texture: Width x Height pixels of 4 bytes R, G, B, A, top row
// first.
struct RgbaImage
{
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint8_t> pixels;
};

inline constexpr std::size_t kRgbaBytesPerPixel = 4;

// Reads and decodes a Targa file named as a script names it (backslashes,
// any letter case) through the run's files. Null when the file cannot be opened (nothing is said:
// the caller reports it) or does not decode (DecodeTga has said why).
[[nodiscard]] std::unique_ptr<RgbaImage> LoadTgaFile(TexeloReporter& reporter, RunFiles& files,
                                                     std::string_view path);

// Decodes a whole Targa file held in memory into `image`, which receives
// the file's size and pixels. 1 on success, 0 on failure, with the
// complaints on standard error and, for some, in MessageLine; `image` is
// left empty on failure.
[[nodiscard]] int DecodeTga(TexeloReporter& reporter, RgbaImage& image, const uint8_t* fileBytes,
                            std::size_t fileLength);
