#pragma once

#include "vram/TextureRecord.h"

#include <optional>

// Where the VRAM map lies in the window: 90% of the client area in each
// direction, centred. The 1024 x 512 VRAM is scaled into it with integer
// arithmetic, so a page boundary lands on the same pixel for every texture.
struct MapGeometry
{
    int MapWidth = 0;
    int MapHeight = 0;
    int MapLeft = 0;
    int MapRight = 0;
    int MapTop = 0;
    int MapBottom = 0;
};

// A rectangle in client pixels, right and bottom exclusive.
struct MapRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    [[nodiscard]] bool isEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const MapRect&) const = default;
};

inline constexpr int kGridColumns = 16; // texture pages across VRAM
inline constexpr int kGridRows = 2;     // bands of 256 lines

// The geometry for a client area of `width` x `height` pixels. Sizes outside
// what a window can have (negative, or beyond 32767) are limited first.
[[nodiscard]] MapGeometry ResizeMap(int width, int height);

// One texture page of the grid; columns 0-15, rows 0-1.
[[nodiscard]] MapRect gridCell(const MapGeometry& map, int column, int row);

// A VRAM rectangle of words and lines in the map.
[[nodiscard]] MapRect vramRect(const MapGeometry& map, int64_t x, int64_t y, int64_t width, int64_t height);

// The texture's place in the map; a palette-only record has zero height.
[[nodiscard]] MapRect textureRect(const MapGeometry& map, const TextureRecord& record);

// The strip of the record's CLUT rows, when it has a CLUT.
[[nodiscard]] std::optional<MapRect> clutRect(const MapGeometry& map, const TextureRecord& record);
