#include "MapGeometry.h"

#include "vram/VramGeometry.h"

#include <algorithm>
#include <cstdint>

namespace
{
constexpr int kLargestClientSide = 32767;

// A VRAM coordinate scaled into the map. The product is taken in 64 bits:
// inside VRAM the result is the same as in 32 bits, and a record whose fields
// point far outside cannot overflow it.
int scale(int64_t vram, int mapSize, int64_t vramSize, int origin)
{
    return static_cast<int>(vram * mapSize / vramSize + origin);
}
} // namespace

MapGeometry ResizeMap(int width, int height)
{
    width = std::clamp(width, 0, kLargestClientSide);
    height = std::clamp(height, 0, kLargestClientSide);
    MapGeometry map;
    map.MapWidth = width * 90 / 100;
    map.MapHeight = height * 90 / 100;
    map.MapLeft = (width - map.MapWidth) / 2;
    map.MapRight = map.MapWidth + (width - map.MapWidth) / 2;
    map.MapTop = (height - map.MapHeight) / 2;
    map.MapBottom = map.MapHeight + (height - map.MapHeight) / 2;
    return map;
}

MapRect gridCell(const MapGeometry& map, int column, int row)
{
    // Cells are counted rather than stepped through, so a window too small
    // for a one-pixel cell gives empty cells instead of an endless walk.
    const int cellWidth = (map.MapRight - map.MapLeft) / kGridColumns;
    const int cellHeight = (map.MapBottom - map.MapTop) / kGridRows;
    const int left = map.MapLeft + column * cellWidth;
    const int top = map.MapTop + row * cellHeight;
    return {left, top, left + cellWidth, top + cellHeight};
}

MapRect vramRect(const MapGeometry& map, int64_t x, int64_t y, int64_t width, int64_t height)
{
    return {scale(x, map.MapWidth, kVramWidth, map.MapLeft), scale(y, map.MapHeight, kVramHeight, map.MapTop),
            scale(x + width, map.MapWidth, kVramWidth, map.MapLeft),
            scale(y + height, map.MapHeight, kVramHeight, map.MapTop)};
}

MapRect textureRect(const MapGeometry& map, const TextureRecord& record)
{
    return vramRect(map, int64_t{record.GroupX} + record.X, int64_t{record.GroupY} + record.Y, record.Width,
                    record.Height);
}

std::optional<MapRect> clutRect(const MapGeometry& map, const TextureRecord& record)
{
    if (!record.HasClut)
        return std::nullopt;
    // The bottom counts the rows, not the extra rows, so one row still shows.
    return vramRect(map, int64_t{record.ClutGroupX} + record.ClutX, int64_t{record.ClutGroupY} + record.ClutY,
                    record.ClutWidth, record.ClutExtraRows + 1);
}
