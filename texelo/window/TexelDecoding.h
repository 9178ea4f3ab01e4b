#pragma once

// A texture's texels as the console shows them, without Qt: indices looked
// up in the texture's CLUT, 16-bit texels taken as they are.

#include "vram/TextureRecord.h"

#include <cstdint>
#include <optional>
#include <vector>

// 0xAARRGGBB; the transparent PSX colour 0x0000 becomes 0 (alpha 0).
inline constexpr uint32_t kTransparentTexel = 0;

// A PSX colour (red in bits 0-4, green 5-9, blue 10-14) with each 5-bit
// channel widened to 8 bits, so that 31 is 255; opaque unless it is 0x0000.
[[nodiscard]] uint32_t argbOfPsxColour(uint16_t colour);

struct DecodedTexels
{
    int width = 0;              // texels of whole VRAM words, row padding included
    int height = 0;             // lines
    int texelsPerWord = 1;      // 4, 2 or 1
    std::vector<uint32_t> argb; // rows top first
};

// The record's texels, through the first row of its CLUT (an index past the
// CLUT is transparent, as a missing entry is 0x0000). Empty for a record
// without texels to show: a placeholder, a palette-only record, or TIM data
// that is missing, of another size than the record or shorter than it says.
[[nodiscard]] std::optional<DecodedTexels> decodeTexels(const TextureRecord& record);
