#pragma once

#include "Canvas.h"

#include <cstdint>
#include <string_view>

// Labels for numbers: the digits and '-' in a 3 x 5 pixel font, white on a
// black plate with a margin of one pixel, so they read on any colour. Any
// other character is left blank.
inline constexpr int32_t kGlyphWidth = 3;
inline constexpr int32_t kGlyphHeight = 5;
inline constexpr int32_t kLabelHeight = kGlyphHeight + 2;
inline constexpr Rgb kLabelText = rgb(255, 255, 255);
inline constexpr Rgb kLabelPlate = rgb(0, 0, 0);

// The width of the plate for `text`: one margin, then each glyph and the
// pixel after it.
[[nodiscard]] constexpr int32_t labelWidth(std::string_view text)
{
    return 1 + static_cast<int32_t>(text.size()) * (kGlyphWidth + 1);
}

// Draws the plate with its top-left pixel at (x, y), clipped to the canvas.
void drawLabel(Canvas& canvas, int64_t x, int64_t y, std::string_view text);
