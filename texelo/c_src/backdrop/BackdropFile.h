#pragma once

#include "files/RunOutput.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// A backdrop: a 640 x 512 picture at 4 bits a pixel with a base palette and
// any number of alternative 16-colour palettes. File layout, little-endian:
// width (int32), height + 1024 x palette count (int32), the base palette,
// the extra palettes (16 PSX colours each), then 256 groups of 640 bytes.
// Group l holds bytes 0-255 of row l, bytes 0-255 of row l + 256, bytes
// 256-319 of row l and bytes 256-319 of row l + 256, so that the picture
// loads as two 512-pixel-wide halves and two 128-pixel-wide strips.

inline constexpr uint32_t kBackdropWidth = 640;
inline constexpr uint32_t kBackdropHeight = 512;
inline constexpr std::size_t kBackdropRowBytes = kBackdropWidth / 2;
inline constexpr std::size_t kBackdropPixelBytes = kBackdropRowBytes * kBackdropHeight;
inline constexpr uint32_t kBackdropHeightPerPalette = 1024;
inline constexpr std::size_t kBackdropPaletteColours = 16;

using BackdropPalette = std::array<uint16_t, kBackdropPaletteColours>;

// The file's bytes. `pixels4` is the picture at 4 bits (left pixel in the low
// nibble), 512 rows of 320 bytes, top row first; `extraPalettes` are written
// in order after the base palette and counted in the height field. Empty
// when `pixels4` is not 512 x 320 bytes.
[[nodiscard]] std::vector<uint8_t> EncodeBackdrop(const BackdropPalette& basePalette,
                                                  std::span<const BackdropPalette> extraPalettes,
                                                  std::span<const uint8_t> pixels4);

enum class BackdropWriteResult : uint8_t
{
    Written = 0,
    CannotCreate = 1, // nothing was written
    CannotWrite = 2,  // the temporary file was removed; an earlier file stays
};

// Writes the bytes through `file` (complete or not at all, or in a dry run
// not at all); the errno of a failure is file.error().
[[nodiscard]] BackdropWriteResult WriteBackdropBytes(RunOutput& file, const std::string& posixPath,
                                                     const std::vector<uint8_t>& bytes);
