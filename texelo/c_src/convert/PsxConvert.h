#pragma once

#include "convert/PsxColour.h"
#include "script/TexeloContext.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// Conversion of decoded RGBA pixels (4 bytes a pixel, top row first) into a
// PSX TIM image in ctx.PsxSpriteData: 4-bit with a 16-entry CLUT when the
// image has at most 16 colours, else 8-bit with a CLUT, else 16-bit direct.
//
// TIM layout written (little-endian): id 0x10, flags (pixel mode, OR 8 with a
// CLUT), then the CLUT block (length 12 + 2n, x 0, y 480, n entries, 1 row,
// colours), then the pixel block (length, x 640, y 0, width in pixels,
// height, texels). The positions are placeholders the organiser replaces.

inline constexpr uint16_t kTimClutY = 480;
inline constexpr uint16_t kTimPixelX = 640;

// PSX colour of 5-bit channels; a non-black colour with alpha 0 gets the STP
// bit, so black is always the transparent 0x0000.
[[nodiscard]] constexpr uint16_t psxColourWithStp(uint8_t r5, uint8_t g5, uint8_t b5, uint8_t alpha)
{
    const auto value = static_cast<uint16_t>((b5 & 0x1F) << 10 | (g5 & 0x1F) << 5 | (r5 & 0x1F));
    return (value != 0 && alpha == 0) ? static_cast<uint16_t>(value | kPsxStpBit) : value;
}

// Reduces the channels of `pixels` in place, converts, and leaves the TIM in
// ctx.PsxSpriteData (sized exactly). Returns its size in bytes, or 0 when a
// buffer cannot be allocated or the image cannot be held by a TIM (negative
// size, or a side beyond 65535). TargetDepth is restored before returning.
[[nodiscard]] uint32_t ConvertToPsx(TexeloContext& ctx, uint8_t* pixels, int width, int height,
                                    std::string_view name);

// Fills ctx.UniqueColourTable (256 entries; the first 256 distinct colours in
// CLUT order, the rest cleared) and returns the exact number of distinct
// colours. With PaletteOnly the earlier table is kept and each entry takes the
// colour at its FirstPixel (0 when the image is too small to have it).
// Throws std::bad_alloc only when memory for the colour set runs out.
uint32_t CountColours(TexeloContext& ctx, const uint8_t* pixels, int width, int height);

// Texels as indices into the table: 4-bit rows padded to 4 texels, 8-bit rows
// to 2 texels (plus IndexOffset). nullopt, after the message, when the buffer
// cannot be allocated.
[[nodiscard]] std::optional<std::vector<uint8_t>> MakeDowngrade4(TexeloContext& ctx, const uint8_t* pixels,
                                                                 int width, int height);
[[nodiscard]] std::optional<std::vector<uint8_t>> MakeDowngrade8(TexeloContext& ctx, const uint8_t* pixels,
                                                                 int width, int height);

// Sizes ctx.PsxSpriteData for an image of TargetDepth (texels zeroed) and
// writes the header, CLUT block and pixel block header. On allocation failure
// it reports and leaves PsxSpriteData empty.
void WriteSpriteHeaders(TexeloContext& ctx, int width, int height);

// Writes the CLUT block of n entries from the table at offset 8.
void BuildClut(TexeloContext& ctx, int n);
