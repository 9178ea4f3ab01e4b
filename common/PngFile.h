#pragma once

// A picture as 8-bit R, G, B, A bytes, top row first, and its PNG form. The
// encoding is made in memory, so a caller can prepare every file it means to
// write before it writes the first. Built over libpng as its own library
// (common_png), so that only the programs that write pictures link it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct RgbaPicture
{
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgba; // width x height x 4 bytes
};

// The PNG file of a picture, or nothing with the reason in `error` (a PNG
// cannot be empty, so a picture without pixels has none).
[[nodiscard]] std::optional<std::vector<uint8_t>> encodePng(const RgbaPicture& picture, std::string& error);

// Encodes `picture` and writes it to `path` through a temporary file that is
// renamed into place only when complete. False with the reason in `error`;
// any earlier file at `path` is then left as it was.
[[nodiscard]] bool writePngFile(const std::string& path, const RgbaPicture& picture, std::string& error);
