#pragma once

// The image room owns decoding pictures: the Targa and PNG decoders of
// textures and the image library (bitmaps, pixel formats, palettes) with its
// loader.

#include "files/RunFiles.h"
#include "image/RgbaImage.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Reads and decodes a Targa file named as a script names it (backslashes,
// any letter case) through the run's files, which remember it as a
// prerequisite of the run as `presence` says.
[[nodiscard]] PictureFile LoadTgaFile(RunFiles& files, std::string_view path, Presence presence);

// Decodes a whole Targa file held in memory into `image`, which receives
// the file's size and pixels. 1 on success; 0 on failure, with `image` left
// empty and `reason` saying why in words ("truncated: 100 of 1,324 bytes").
[[nodiscard]] int DecodeTga(RgbaImage& image, const uint8_t* fileBytes, std::size_t fileLength,
                            std::string& reason);
