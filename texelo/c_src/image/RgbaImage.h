#pragma once

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

// A picture file as a script named it, read and decoded.
struct PictureFile
{
    std::unique_ptr<RgbaImage> image; // null when the file is missing or does not decode
    bool found = false;               // a file is at `path`
    std::string path;                 // where it was found, or would be
    std::string failure;              // why a file found gave no image
};

// Decodes a whole file held in memory into `image`: 1 on success; 0 with
// `image` empty and `reason` saying why.
using PictureDecoder = int (*)(RgbaImage& image, const uint8_t* fileBytes, std::size_t fileLength,
                               std::string& reason);

// Reads the file a script names and decodes it; a failure says "cannot be
// read: ..." or "does not decode as a `format` file: ...".
[[nodiscard]] PictureFile LoadPictureFile(RunFiles& files, std::string_view path, Presence presence,
                                          PictureDecoder decode, std::string_view format);
