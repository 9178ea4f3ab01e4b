#pragma once

// Zooming the VRAM map, without Qt: beyond the fitted view every step shows
// a VRAM word as a whole number of pixels, so texels stay crisp squares.

#include "MapGeometry.h"

#include <array>

// Pixels a VRAM word takes at each step beyond the fitted view.
inline constexpr std::array<int, 10> kZoomSteps = {1, 2, 3, 4, 6, 8, 12, 16, 24, 32};

struct MapZoom
{
    int step = -1; // into kZoomSteps; -1 is the fitted view
    int left = 0;  // client position of VRAM word 0, line 0, when zoomed
    int top = 0;

    [[nodiscard]] bool fitted() const { return step < 0; }
    bool operator==(const MapZoom&) const = default;
};

// Where the map lies for `zoom`, given the fitted view.
[[nodiscard]] MapGeometry zoomedMap(const MapGeometry& fitted, const MapZoom& zoom);

// `steps` steps in (positive) or out (negative), as far as the steps go: out
// of the first step larger than the fitted view comes the fitted view. The
// VRAM point under client point (x, y), or the nearest point of VRAM, stays
// where it is.
[[nodiscard]] MapZoom zoomBy(const MapGeometry& fitted, const MapZoom& zoom, int steps, int x, int y);

// The zoomed map moved by (dx, dy) pixels; the fitted view does not move.
[[nodiscard]] MapZoom panBy(const MapZoom& zoom, int dx, int dy);
