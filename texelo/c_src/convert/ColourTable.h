#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// One distinct colour of an image after channel reduction.
struct UniqueColour
{
    uint8_t r = 0, g = 0, b = 0, a = 0;
    uint32_t FirstPixel = 0; // index of the first pixel with this colour
};

inline constexpr std::size_t kUniqueColourCapacity = 256;

// The distinct colours of the image counted last, in CLUT order. It outlives
// one conversion on purpose: a palette-only texture takes its colours at the
// first pixels of the image counted before it.
struct ColourTable
{
    std::vector<UniqueColour> UniqueColourTable; // first 256 kept; the count is exact
    uint32_t UniqueColourCount = 0;
};
