#include "MapZoom.h"

#include "vram/VramGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace
{
constexpr int kLastStep = static_cast<int>(kZoomSteps.size()) - 1;
// A zoomed map may move this far past the client area, and no farther, so
// that client coordinates stay far from the int limits.
constexpr int kFarthest = 1 << 20;

// The first step that shows VRAM larger than the fitted view does.
int firstStepBeyond(const MapGeometry& fitted)
{
    for (int step = 0; step <= kLastStep; ++step)
    {
        const int64_t size = kZoomSteps[static_cast<std::size_t>(step)];
        if (size * kVramWidth > fitted.MapWidth && size * kVramHeight > fitted.MapHeight)
            return step;
    }
    return kLastStep;
}

// VRAM coordinate (fractional, within VRAM) under a client coordinate.
double vramAt(int client, int origin, int mapSize, int vramSize)
{
    if (mapSize <= 0)
        return 0;
    return std::clamp(static_cast<double>(int64_t{client} - origin) * vramSize / mapSize, 0.0,
                      static_cast<double>(vramSize));
}

int limited(double value)
{
    return static_cast<int>(std::lround(std::clamp(value, -double{kFarthest}, double{kFarthest})));
}

} // namespace

MapGeometry zoomedMap(const MapGeometry& fitted, const MapZoom& zoom)
{
    if (zoom.fitted())
        return fitted;
    const int size = kZoomSteps[static_cast<std::size_t>(std::min(zoom.step, kLastStep))];
    MapGeometry map;
    map.MapWidth = size * kVramWidth;
    map.MapHeight = size * kVramHeight;
    map.MapLeft = zoom.left;
    map.MapRight = zoom.left + map.MapWidth;
    map.MapTop = zoom.top;
    map.MapBottom = zoom.top + map.MapHeight;
    return map;
}

MapZoom zoomBy(const MapGeometry& fitted, const MapZoom& zoom, int steps, int x, int y)
{
    const int first = firstStepBeyond(fitted);
    const int from = zoom.fitted() ? first - 1 : std::clamp(zoom.step, first, kLastStep);
    const int to = static_cast<int>(std::clamp<int64_t>(int64_t{from} + steps, first - 1, kLastStep));
    if (to < first)
        return {};
    const MapGeometry before = zoomedMap(fitted, zoom);
    const double vramX = vramAt(x, before.MapLeft, before.MapWidth, kVramWidth);
    const double vramY = vramAt(y, before.MapTop, before.MapHeight, kVramHeight);
    const int size = kZoomSteps[static_cast<std::size_t>(to)];
    return {to, limited(x - vramX * size), limited(y - vramY * size)};
}

MapZoom panBy(const MapZoom& zoom, int dx, int dy)
{
    if (zoom.fitted())
        return zoom;
    return {zoom.step, limited(static_cast<double>(zoom.left) + dx),
            limited(static_cast<double>(zoom.top) + dy)};
}
