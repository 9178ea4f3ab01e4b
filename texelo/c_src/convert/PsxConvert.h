#pragma once

// The convert room turns decoded pixels into PSX textures and CLUTs: TIM
// images, PSX colours, palette sets; it sees no script state.

#include "convert/ColourReduction.h"
#include "convert/ColourTable.h"
#include "convert/PsxColour.h"
#include "convert/TimImage.h"
#include "report/TexeloReporter.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// What a conversion is asked for. A texture becomes 4-bit with a 16-entry
// CLUT when it has at most 16 colours, else 8-bit with a CLUT, else 16-bit.
struct ConversionSettings
{
    int TargetDepth = 4;
    int FallbackDepth = 8;    // where a texture with too many colours for 4 bits goes first
    uint16_t ClutSize8 = 256; // entries of an 8-bit CLUT (1 to 256)
    uint16_t IndexOffset = 0; // added to every 8-bit texel
    bool PaletteOnly = false; // colours taken at the first pixels of the table counted before
    ReductionSettings Reduction{}; // never applied to a palette-only texture
};

// Reduces the channels of `pixels` (4 bytes a pixel, top row first) in place,
// then their colours if the settings ask for it (one "Reduced" line), and
// converts them. Nothing when a buffer cannot be allocated (reported) or
// the image cannot be held by a TIM (negative size, or a side beyond 65535).
// `colours` is left holding the image's colour table.
[[nodiscard]] std::optional<TimImage> ConvertToPsx(const ConversionSettings& settings, ColourTable& colours,
                                                   TexeloReporter& reporter, uint8_t* pixels, int width,
                                                   int height, std::string_view name);

// Fills `colours` (256 entries; the first 256 distinct colours in CLUT
// order, the rest cleared) and returns the exact number of distinct colours.
// With `paletteOnly` the earlier table is kept and each entry takes the
// colour at its FirstPixel (0 when the image is too small to have it).
// Throws std::bad_alloc only when memory for the colour set runs out.
uint32_t CountColours(bool paletteOnly, ColourTable& colours, const uint8_t* pixels, int width, int height);

// Texels as indices into the table: 4-bit rows padded to 4 texels, 8-bit rows
// to 2 texels (plus `indexOffset`). Nothing, after the message, when the
// buffer cannot be allocated.
[[nodiscard]] std::optional<std::vector<uint8_t>> MakeDowngrade4(const ColourTable& colours,
                                                                 TexeloReporter& reporter,
                                                                 const uint8_t* pixels, int width,
                                                                 int height);
[[nodiscard]] std::optional<std::vector<uint8_t>>
MakeDowngrade8(const ColourTable& colours, uint16_t indexOffset, TexeloReporter& reporter,
               const uint8_t* pixels, int width, int height);

// The CLUT of `n` entries (0 to 256) from the table; entries past its colours
// are 0.
[[nodiscard]] std::vector<uint16_t> BuildClut(const ColourTable& colours, int n);
