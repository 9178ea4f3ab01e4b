#include "QuadFill.h"

#include <algorithm>
#include <utility>

namespace
{

// Twice the signed area of (from, to, (x, y)): positive when the point lies
// to the right of the edge on a screen whose y grows downwards. Corners are
// 32-bit, so the products need 64 bits.
int64_t edgeValue(const QuadVertex& from, const QuadVertex& to, int64_t x, int64_t y)
{
    return (int64_t{to.x} - from.x) * (y - from.y) - (int64_t{to.y} - from.y) * (x - from.x);
}

// With the corners turned so that the area is positive, a top edge runs
// rightwards along a row and a left edge runs upwards; a point on such an
// edge is inside.
bool ownsEdge(const QuadVertex& from, const QuadVertex& to)
{
    return to.y < from.y || (to.y == from.y && to.x > from.x);
}

bool inside(int64_t value, bool owned)
{
    return value > 0 || (value == 0 && owned);
}

// One channel at a point with the corner weights wa, wb, wc (summing to
// `area`, all non-negative inside), rounded to nearest.
uint32_t interpolate(int64_t wa, int64_t wb, int64_t wc, int64_t area, uint32_t a, uint32_t b, uint32_t c)
{
    return static_cast<uint32_t>((wa * a + wb * b + wc * c + area / 2) / area);
}

Rgb shade(int64_t wa, int64_t wb, int64_t wc, int64_t area, Rgb a, Rgb b, Rgb c)
{
    return rgb(interpolate(wa, wb, wc, area, redOf(a), redOf(b), redOf(c)),
               interpolate(wa, wb, wc, area, greenOf(a), greenOf(b), greenOf(c)),
               interpolate(wa, wb, wc, area, blueOf(a), blueOf(b), blueOf(c)));
}

constexpr uint32_t kNeutralTint = 128;
constexpr uint32_t kChannelMax = 255;

Rgb tint(Rgb texel, Rgb colour)
{
    const auto channel = [](uint32_t t, uint32_t c) { return std::min(t * c / kNeutralTint, kChannelMax); };
    return rgb(channel(redOf(texel), redOf(colour)), channel(greenOf(texel), greenOf(colour)),
               channel(blueOf(texel), blueOf(colour)));
}

} // namespace

Rgb CheckerTexture::texelAt(int64_t x, int64_t y) const
{
    // Shifts of negative values round down, so cells left of or above the
    // anchor are whole cells too.
    const int64_t cells = ((x - anchorX) >> kCheckerCellShift) + ((y - anchorY) >> kCheckerCellShift);
    return (cells & 1) == 0 ? light : dark;
}

void fillTriangle(Canvas& canvas, QuadVertex a, QuadVertex b, QuadVertex c, const CheckerTexture* texture)
{
    int64_t area = edgeValue(a, b, c.x, c.y);
    if (area == 0)
        return;
    if (area < 0)
    {
        std::swap(b, c);
        area = -area;
    }
    const bool ownsAB = ownsEdge(a, b);
    const bool ownsBC = ownsEdge(b, c);
    const bool ownsCA = ownsEdge(c, a);
    const int64_t left = std::max<int64_t>(std::min({a.x, b.x, c.x}), 0);
    const int64_t right = std::min<int64_t>(std::max({a.x, b.x, c.x}), int64_t{canvas.width()} - 1);
    const int64_t top = std::max<int64_t>(std::min({a.y, b.y, c.y}), 0);
    const int64_t bottom = std::min<int64_t>(std::max({a.y, b.y, c.y}), int64_t{canvas.height()} - 1);
    for (int64_t y = top; y <= bottom; ++y)
        for (int64_t x = left; x <= right; ++x)
        {
            // Each corner's weight is the area of the triangle opposite it.
            const int64_t wa = edgeValue(b, c, x, y);
            const int64_t wb = edgeValue(c, a, x, y);
            const int64_t wc = edgeValue(a, b, x, y);
            if (!inside(wa, ownsBC) || !inside(wb, ownsCA) || !inside(wc, ownsAB))
                continue;
            const Rgb colour = shade(wa, wb, wc, area, a.colour, b.colour, c.colour);
            canvas.plot(x, y, texture ? tint(texture->texelAt(x, y), colour) : colour);
        }
}

void fillQuad(Canvas& canvas, const std::array<QuadVertex, 4>& corners, const CheckerTexture* texture)
{
    fillTriangle(canvas, corners[0], corners[1], corners[2], texture);
    fillTriangle(canvas, corners[1], corners[2], corners[3], texture);
}
