#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
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

// A picture file as a script named it, read and decoded.
struct PictureFile
{
    std::unique_ptr<RgbaImage> image; // null when the file is missing or does not decode
    bool found = false;               // a file is at `path`
    std::string path;                 // where it was found, or would be
    std::string failure;              // why a file found gave no image
};
