#include "ExpectedRlf.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace expectedrlf
{
namespace
{

using mdfwriter::Bytes;
using Fields = std::vector<int16_t>;

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

struct Block
{
    Fields rects;    // x, y, w, h each
    Fields hotspots; // flagsA, flagsB, x, y each
    Fields points;   // x0, y0 ... x3, y3 per quad
    Bytes quadHeads; // kind, mode, texture per quad
    std::vector<uint32_t> colours;

    [[nodiscard]] size_t quads() const { return points.size() / 8; }
    [[nodiscard]] uint32_t size() const
    {
        return static_cast<uint32_t>(20 + 2 * rects.size() + 2 * hotspots.size() +
                                     (quads() ? 4 + 40 * quads() : 0));
    }
};

Block blockOf(const mdfwriter::Gadget& gadget, int yOffset)
{
    Block block;
    for (const auto& vector : gadget.rects)
        if (!vector.empty())
        {
            const mdfwriter::Rect& r = vector.front();
            block.rects.insert(block.rects.end(), {r.left, low16(int64_t{r.top} + yOffset),
                                                   low16(int64_t{r.right} - r.left),
                                                   low16(int64_t{r.bottom} - r.top)});
        }
    for (const auto& vector : gadget.hotspots)
        if (!vector.empty())
        {
            const mdfwriter::Hotspot& h = vector.front();
            block.hotspots.insert(block.hotspots.end(), {static_cast<int16_t>((h.flags >> 2) & 3),
                                                         static_cast<int16_t>(h.flags & 3), h.posX,
                                                         low16(int64_t{h.posY} + yOffset)});
        }
    if (!gadget.primLists.empty())
    {
        const mdfwriter::PrimList& list = gadget.primLists.front();
        for (const mdfwriter::Prim& prim : list.prims)
        {
            const bool textured = prim.type == mdfwriter::kPrimFT4 || prim.type == mdfwriter::kPrimGT4;
            const bool perVertex = prim.type == mdfwriter::kPrimG4 || prim.type == mdfwriter::kPrimGT4;
            const int16_t texture = textured ? gameTexture(prim.textureId) : int16_t{-1};
            mdfwriter::put8(block.quadHeads, textured ? 1 : 0);
            mdfwriter::put8(block.quadHeads, prim.mode & 7);
            mdfwriter::put16(block.quadHeads, static_cast<uint16_t>(texture));
            for (size_t k = 0; k < 4; ++k)
            {
                block.points.push_back(low16(int64_t{prim.vertices[k].x} + list.offsetX));
                block.points.push_back(low16(int64_t{prim.vertices[k].y} + list.offsetY + yOffset));
                const mdfwriter::Colour& c = prim.colours[perVertex ? k : 0];
                block.colours.push_back(uint32_t{c.r} << 16 | uint32_t{c.g} << 8 | c.b);
            }
        }
    }
    return block;
}

// The box grows from the far corner of the 640 x 480 screen; a child area
// reaches to its far edge, hotspots and quads only to their points.
Fields boxOf(const Block& block)
{
    int64_t minX = 640, minY = 480, maxX = 0, maxY = 0;
    const auto include = [&](int64_t x0, int64_t y0, int64_t x1, int64_t y1)
    {
        minX = std::min(minX, x0);
        minY = std::min(minY, y0);
        maxX = std::max(maxX, x1);
        maxY = std::max(maxY, y1);
    };
    for (size_t i = 0; i < block.rects.size(); i += 4)
        include(block.rects[i], block.rects[i + 1], int64_t{block.rects[i]} + block.rects[i + 2],
                int64_t{block.rects[i + 1]} + block.rects[i + 3]);
    for (size_t i = 0; i < block.hotspots.size(); i += 4)
        include(block.hotspots[i + 2], block.hotspots[i + 3], block.hotspots[i + 2], block.hotspots[i + 3]);
    for (size_t i = 0; i < block.points.size(); i += 2)
        include(block.points[i], block.points[i + 1], block.points[i], block.points[i + 1]);
    return {low16(minX), low16(minY), low16(maxX - minX), low16(maxY - minY)};
}

void putFields(Bytes& out, const Fields& fields)
{
    for (int16_t value : fields)
        mdfwriter::put16(out, static_cast<uint16_t>(value));
}

void putBlock(Bytes& out, const Block& block, uint32_t at)
{
    putFields(out, boxOf(block));
    const uint32_t rectsAt = at + 20;
    const auto hotspotsAt = static_cast<uint32_t>(rectsAt + 2 * block.rects.size());
    const auto listAt = static_cast<uint32_t>(hotspotsAt + 2 * block.hotspots.size());
    mdfwriter::put32(out, block.rects.empty() ? 0 : rectsAt);
    mdfwriter::put32(out, block.hotspots.empty() ? 0 : hotspotsAt);
    mdfwriter::put32(out, block.quads() ? listAt : 0);
    putFields(out, block.rects);
    putFields(out, block.hotspots);
    if (!block.quads())
        return;
    const auto count = static_cast<uint32_t>(block.quads());
    mdfwriter::put32(out, count);
    for (uint32_t k = 0; k < count; ++k)
        mdfwriter::put32(out, listAt + 4 + 4 * count + 36 * k);
    for (uint32_t k = 0; k < count; ++k)
    {
        out.insert(out.end(), block.quadHeads.begin() + 4 * k, block.quadHeads.begin() + 4 * (k + 1));
        putFields(out, Fields(block.points.begin() + 8 * k, block.points.begin() + 8 * (k + 1)));
        for (size_t c = 0; c < 4; ++c)
            mdfwriter::put32(out, block.colours[4 * k + c]);
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
