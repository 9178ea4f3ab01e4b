#pragma once

#include "Canvas.h"

#include <array>
#include <cstdint>

// A corner of a quad: a pixel position and the colour it carries.
struct QuadVertex
{
    int32_t x = 0;
    int32_t y = 0;
    Rgb colour = 0;
};

// What stands in for a texture the picture does not have: a checker of
// kCheckerCell x kCheckerCell squares counted from (anchorX, anchorY), so a
// quad moved by whole pixels shows the same texels, moved.
struct CheckerTexture
{
    static constexpr int kCheckerCellShift = 3;
    static constexpr int32_t kCheckerCell = 1 << kCheckerCellShift;

    int32_t anchorX = 0;
    int32_t anchorY = 0;
    Rgb light = 0; // the cell at the anchor
    Rgb dark = 0;

    [[nodiscard]] Rgb texelAt(int64_t x, int64_t y) const;
};

// Fills a quad as the console does: as the triangles (0, 1, 2) and (1, 2, 3)
// of its corners, in their stored order. Each triangle covers the pixels
// whose top-left corner lies inside it; a pixel exactly on an edge belongs to
// it only on a top or left edge, so triangles and quads that share an edge
// neither overlap nor leave a gap. Colours are interpolated linearly across
// each triangle (Gouraud shading), rounded to the nearest value. With a
// texture the shaded colour tints each texel the console's way: 128 leaves a
// channel as it is, 255 nearly doubles it (limited to 255).
void fillQuad(Canvas& canvas, const std::array<QuadVertex, 4>& corners, const CheckerTexture* texture);

// One triangle by the same rules; one with no area draws nothing.
void fillTriangle(Canvas& canvas, QuadVertex a, QuadVertex b, QuadVertex c, const CheckerTexture* texture);
