#pragma once

#include <cstdint>

// A quad corner in screen coordinates, y downwards.
struct PrimVertex
{
    int16_t x = 0;
    int16_t y = 0;
    friend bool operator==(const PrimVertex&, const PrimVertex&) = default;
};

struct PrimColour
{
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    uint8_t pad = 0;
    friend bool operator==(const PrimColour&, const PrimColour&) = default;
};

// An axis-aligned box: the smallest and largest x and y.
struct PrimBounds
{
    float minX = 0;
    float minY = 0;
    float maxX = 0;
    float maxY = 0;
    friend bool operator==(const PrimBounds&, const PrimBounds&) = default;
};
