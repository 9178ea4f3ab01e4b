#include "ExpectedRlf.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace expectedrlf
{
namespace
{

using mdfwriter::Bytes;

// Values are stored as the low 16 bits of the exact integer result.
int16_t low16(int64_t value)
{
    return static_cast<int16_t>(static_cast<uint16_t>(value & 0xFFFF));
}

// The game numbers textures 0-5 as 0, 7, 3, 4, 5, 6 and has no others.
int16_t gameTexture(uint16_t layoutTexture)
{
    constexpr std::array<int16_t, 6> kTable{0, 7, 3, 4, 5, 6};
    const auto id = static_cast<int16_t>(layoutTexture);
    return id >= 0 && id < 6 ? kTable[static_cast<size_t>(id)] : int16_t{-1};
}

struct Quad
{
    uint8_t kind = 0;
    uint8_t modeLow = 0;
    int16_t texture = -1;
    std::array<int16_t, 8> points{}; // x0, y0, ... x3, y3
    std::array<uint32_t, 4> colours{};
};

struct Block
{
    std::array<int16_t, 4> box{};
    std::vector<std::array<int16_t, 4>> rects;
    std::vector<std::array<int16_t, 4>> hotspots;
    std::vector<Quad> quads;

    [[nodiscard]] uint32_t listSize() const
    {
        return quads.empty() ? 0 : static_cast<uint32_t>(4 + 40 * quads.size());
    }
    [[nodiscard]] uint32_t size() const
    {
        return static_cast<uint32_t>(20 + 8 * rects.size() + 8 * hotspots.size()) + listSize();
    }
};

uint32_t colourWord(const mdfwriter::Colour& colour)
{
    return uint32_t{colour.r} << 16 | uint32_t{colour.g} << 8 | colour.b;
}

Quad quadOf(const mdfwriter::Prim& prim, int offsetX, int offsetY)
{
    Quad quad;
    const bool textured = prim.type == mdfwriter::kPrimFT4 || prim.type == mdfwriter::kPrimGT4;
    const bool perVertex = prim.type == mdfwriter::kPrimG4 || prim.type == mdfwriter::kPrimGT4;
    quad.kind = textured ? 1 : 0;
    quad.modeLow = prim.mode & 7;
    quad.texture = textured ? gameTexture(prim.textureId) : int16_t{-1};
    for (size_t k = 0; k < 4; ++k)
    {
        quad.points[2 * k] = low16(int64_t{prim.vertices[k].x} + offsetX);
        quad.points[2 * k + 1] = low16(int64_t{prim.vertices[k].y} + offsetY);
        quad.colours[k] = colourWord(prim.colours[perVertex ? k : 0]);
    }
    return quad;
}

Block blockOf(const mdfwriter::Gadget& gadget, int yOffset)
{
    Block block;
    for (const auto& vector : gadget.rects)
        if (!vector.empty())
        {
            const mdfwriter::Rect& r = vector.front();
            block.rects.push_back({r.left, low16(int64_t{r.top} + yOffset), low16(int64_t{r.right} - r.left),
                                   low16(int64_t{r.bottom} - r.top)});
        }
    for (const auto& vector : gadget.hotspots)
        if (!vector.empty())
        {
            const mdfwriter::Hotspot& h = vector.front();
            block.hotspots.push_back({static_cast<int16_t>((h.flags >> 2) & 3),
                                      static_cast<int16_t>(h.flags & 3), h.posX,
                                      low16(int64_t{h.posY} + yOffset)});
        }
    if (!gadget.primLists.empty())
    {
        const mdfwriter::PrimList& list = gadget.primLists.front();
        for (const mdfwriter::Prim& prim : list.prims)
            block.quads.push_back(quadOf(prim, list.offsetX, list.offsetY + yOffset));
    }

    // The box grows from the far corner of the 640 x 480 screen; a child
    // area reaches to its far edge, hotspots and quads only to their points.
    int64_t minX = 640, minY = 480, maxX = 0, maxY = 0;
    const auto include = [&](int64_t x0, int64_t y0, int64_t x1, int64_t y1)
    {
        minX = std::min(minX, x0);
        minY = std::min(minY, y0);
        maxX = std::max(maxX, x1);
        maxY = std::max(maxY, y1);
    };
    for (const auto& r : block.rects)
        include(r[0], r[1], int64_t{r[0]} + r[2], int64_t{r[1]} + r[3]);
    for (const auto& h : block.hotspots)
        include(h[2], h[3], h[2], h[3]);
    for (const Quad& quad : block.quads)
        for (size_t k = 0; k < 4; ++k)
            include(quad.points[2 * k], quad.points[2 * k + 1], quad.points[2 * k], quad.points[2 * k + 1]);
    block.box = {low16(minX), low16(minY), low16(maxX - minX), low16(maxY - minY)};
    return block;
}

void putS16(Bytes& out, int16_t value)
{
    mdfwriter::put16(out, static_cast<uint16_t>(value));
}

void putBlock(Bytes& out, const Block& block, uint32_t at)
{
    for (int16_t value : block.box)
        putS16(out, value);
    const uint32_t rectsAt = at + 20;
    const auto hotspotsAt = static_cast<uint32_t>(rectsAt + 8 * block.rects.size());
    const auto listAt = static_cast<uint32_t>(hotspotsAt + 8 * block.hotspots.size());
    mdfwriter::put32(out, block.rects.empty() ? 0 : rectsAt);
    mdfwriter::put32(out, block.hotspots.empty() ? 0 : hotspotsAt);
    mdfwriter::put32(out, block.quads.empty() ? 0 : listAt);
    for (const auto& record : block.rects)
        for (int16_t value : record)
            putS16(out, value);
    for (const auto& record : block.hotspots)
        for (int16_t value : record)
            putS16(out, value);
    if (block.quads.empty())
        return;
    const auto count = static_cast<uint32_t>(block.quads.size());
    mdfwriter::put32(out, count);
    for (uint32_t k = 0; k < count; ++k)
        mdfwriter::put32(out, listAt + 4 + 4 * count + 36 * k);
    for (const Quad& quad : block.quads)
    {
        mdfwriter::put8(out, quad.kind);
        mdfwriter::put8(out, quad.modeLow);
        putS16(out, quad.texture);
        for (int16_t value : quad.points)
            putS16(out, value);
        for (uint32_t colour : quad.colours)
            mdfwriter::put32(out, colour);
    }
}

} // namespace

Bytes encode(const mdfwriter::Layout& layout, int yOffset)
{
    std::vector<Block> blocks;
    for (const mdfwriter::Gadget& gadget : layout.gadgets)
        blocks.push_back(blockOf(gadget, yOffset));

    Bytes out;
    const auto count = static_cast<uint32_t>(blocks.size());
    mdfwriter::put32(out, count);
    uint32_t at = 4 + 4 * count;
    for (const Block& block : blocks)
    {
        mdfwriter::put32(out, at);
        at += block.size();
    }
    at = 4 + 4 * count;
    for (const Block& block : blocks)
    {
        putBlock(out, block, at);
        at += block.size();
    }
    return out;
}

} // namespace expectedrlf
