#pragma once

#include "Canvas.h"

#include <cstdint>

// A block of pixels, both ends included.
struct PixelRect
{
    int64_t left = 0;
    int64_t top = 0;
    int64_t right = 0;
    int64_t bottom = 0;
};

enum class LineStyle : uint8_t
{
    Solid = 0,
    // Runs of kDashLength pixels drawn and left out in turn, counted along
    // each side from its top or left end.
    Dashed = 1,
};
inline constexpr int64_t kDashLength = 3;

// The one-pixel border of `rect`.
void outlineRect(Canvas& canvas, const PixelRect& rect, Rgb colour, LineStyle style);

// A square of kMarkerSize pixels centred on (x, y): its border, and inside it
// diagonal lines both ways every kHatchStep pixels, one pair through the
// centre.
inline constexpr int64_t kMarkerSize = 9;
inline constexpr int64_t kHatchStep = 4;
void drawHatchedMarker(Canvas& canvas, int64_t x, int64_t y, Rgb colour);
