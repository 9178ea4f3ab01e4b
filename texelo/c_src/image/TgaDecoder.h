#pragma once

// The image room owns decoding pictures: the Targa decoder of textures and
// the image library (bitmaps, pixel formats, palettes) with its loader.

#include "files/RunFiles.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
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

// A Targa file as a script named it, read and decoded.
struct TgaFile
{
    std::unique_ptr<RgbaImage> image; // null when the file is missing or does not decode
    bool found = false;               // a file is at `path`
    std::string path;                 // where it was found, or would be
    std::string failure;              // why a file found gave no image
};

// Reads and decodes a Targa file named as a script names it (backslashes,
// any letter case) through the run's files, which remember it as a
// prerequisite of the run as `presence` says.
[[nodiscard]] TgaFile LoadTgaFile(RunFiles& files, std::string_view path, Presence presence);

// Decodes a whole Targa file held in memory into `image`, which receives
// the file's size and pixels. 1 on success; 0 on failure, with `image` left
// empty and `reason` saying why in words ("truncated: 100 of 1,324 bytes").
[[nodiscard]] int DecodeTga(RgbaImage& image, const uint8_t* fileBytes, std::size_t fileLength,
                            std::string& reason);
