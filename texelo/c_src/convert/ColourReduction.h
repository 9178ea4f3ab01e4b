#pragma once

#include <cstdint>
#include <optional>

// How far a texture's colours are reduced before it is converted.
struct ReductionSettings
{
    uint16_t MaxColours = 0; // 0: colours are left as they are
    uint8_t Dither = 50;     // error diffusion, 0 (none) to 100 (full)
};

struct ReductionOutcome
{
    uint32_t ColoursBefore = 0;
    uint32_t ColoursAfter = 0;
    double Psnr = 0; // dB over the 5-bit channels; infinite when nothing was lost
};

// Reduces pixels whose channels are already rounded to 5 bits (4 bytes a
// pixel, alpha as decoded) and that hold `colourCount` colours, as the
// converter counts them, to at most `settings.MaxColours` (at least 3: black
// and one colour of each STP state). Nothing when there are no more colours
// than that, and the pixels are then left untouched.
//
// The palette is chosen for the smallest squared error in 5-bit channels.
// Black (the transparent colour) stays black and nothing else becomes black;
// a pixel keeps its STP state: alpha becomes 0 where it was 0 or the pixel
// is black, and 255 elsewhere. The result depends only on the pixels and the
// settings. Throws std::bad_alloc when memory runs out.
[[nodiscard]] std::optional<ReductionOutcome> ReduceColours(const ReductionSettings& settings,
                                                          uint32_t colourCount, uint8_t* pixels, int width,
                                                          int height);
