#pragma once

// What lies under the mouse on the VRAM map, without Qt: the window turns a
// client point into a VRAM word and asks for the text of what is there.

#include "MapGeometry.h"
#include "ShownBank.h"

#include <cstdint>
#include <optional>
#include <string>

struct VramPoint
{
    int64_t x = 0; // word
    int64_t y = 0; // line
    bool operator==(const VramPoint&) const = default;
};

// The VRAM word drawn at client pixel (x, y): where several words share a
// pixel, the last one drawn there. Empty off the map.
[[nodiscard]] std::optional<VramPoint> vramPointAt(const MapGeometry& map, int x, int y);

// The texture at a VRAM word (the one drawn last where several overlap):
// its name, source file, depth, size, VRAM and CLUT positions, one a line.
// Else the CLUT there and the textures that use it. Empty over nothing.
[[nodiscard]] std::string hoverText(const ShownBank& shown, VramPoint point);
