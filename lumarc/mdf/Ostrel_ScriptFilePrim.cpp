#include "Ostrel_ScriptFilePrim.h"

#include <algorithm>

namespace
{
constexpr int kMaxRotations = 8;
} // namespace

template <std::size_t ColourCount>
PrimBounds& Ostrel_ScriptFilePrim_Quad<ColourCount>::getBounds(PrimBounds& out) const
{
    out.minX = out.maxX = vertices[0].x;
    out.minY = out.maxY = vertices[0].y;
    for (std::size_t k = 1; k < vertices.size(); ++k)
    {
        const float x = vertices[k].x;
        const float y = vertices[k].y;
        out.minX = std::min(out.minX, x);
        out.maxX = std::max(out.maxX, x);
        out.minY = std::min(out.minY, y);
        out.maxY = std::max(out.maxY, y);
    }
    return out;
}

template <std::size_t ColourCount>
void Ostrel_ScriptFilePrim_Quad<ColourCount>::permute(const std::array<int, 4>& order)
{
    const auto oldVertices = vertices;
    const auto oldColours = colours;
    const uint8_t oldBits = cornerBits;
    uint8_t newBits = 0;
    for (std::size_t k = 0; k < 4; ++k)
    {
        const auto from = static_cast<std::size_t>(order[k]);
        vertices[k] = oldVertices[from];
        if constexpr (ColourCount == 4)
            colours[k] = oldColours[from];
        const unsigned field = (oldBits >> (2 * from)) & 3u;
        newBits = static_cast<uint8_t>(newBits | field << (2 * k));
    }
    cornerBits = newBits;
}

template <std::size_t ColourCount>
void Ostrel_ScriptFilePrim_Quad<ColourCount>::rotateCorners()
{
    permute({1, 3, 0, 2});
}

template <std::size_t ColourCount>
void Ostrel_ScriptFilePrim_Quad<ColourCount>::swapCorners()
{
    permute({0, 2, 1, 3});
}

template <std::size_t ColourCount>
void Ostrel_ScriptFilePrim_Quad<ColourCount>::normaliseOrder()
{
    const auto delta = [](int16_t a, int16_t b) { return static_cast<int16_t>(a - b); };
    const int32_t dx1 = delta(vertices[1].x, vertices[0].x);
    const int32_t dy1 = delta(vertices[1].y, vertices[0].y);
    const int32_t dx2 = delta(vertices[2].x, vertices[0].x);
    const int32_t dy2 = delta(vertices[2].y, vertices[0].y);
    // Both products lie within +-2^30, so their difference fits 32 bits.
    if (dx1 * dy2 - dx2 * dy1 < 0)
        swapCorners();
    if (vertices[0] == vertices[2])
        return;
    for (int rotations = 0; vertices[0].y >= vertices[2].y && rotations < kMaxRotations; ++rotations)
        rotateCorners();
}

template class Ostrel_ScriptFilePrim_Quad<1>;
template class Ostrel_ScriptFilePrim_Quad<4>;
