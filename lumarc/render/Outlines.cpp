#include "Outlines.h"

namespace
{

bool drawn(int64_t along, LineStyle style)
{
    return style == LineStyle::Solid || (along / kDashLength) % 2 == 0;
}

} // namespace

void outlineRect(Canvas& canvas, const PixelRect& rect, Rgb colour, LineStyle style)
{
    for (int64_t x = rect.left; x <= rect.right; ++x)
        if (drawn(x - rect.left, style))
        {
            canvas.plot(x, rect.top, colour);
            canvas.plot(x, rect.bottom, colour);
        }
    for (int64_t y = rect.top; y <= rect.bottom; ++y)
        if (drawn(y - rect.top, style))
        {
            canvas.plot(rect.left, y, colour);
            canvas.plot(rect.right, y, colour);
        }
}

void drawHatchedMarker(Canvas& canvas, int64_t x, int64_t y, Rgb colour)
{
    const int64_t half = kMarkerSize / 2;
    const PixelRect square{x - half, y - half, x + half, y + half};
    outlineRect(canvas, square, colour, LineStyle::Solid);
    for (int64_t dy = 0; dy < kMarkerSize; ++dy)
        for (int64_t dx = 0; dx < kMarkerSize; ++dx)
            if ((dx + dy) % kHatchStep == 0 || (dx - dy) % kHatchStep == 0)
                canvas.plot(square.left + dx, square.top + dy, colour);
}
