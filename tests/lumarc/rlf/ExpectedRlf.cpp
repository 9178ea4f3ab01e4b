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

void put16s(Bytes& out, std::initializer_list<int16_t> values)
{
    for (int16_t value : values)
        mdfwriter::put16(out, static_cast<uint16_t>(value));
}

// The game numbers textures 0-5 as 0, 7, 3, 4, 5, 6 and has no others.
int16_t gameTexture(uint16_t layoutTexture)
{
    constexpr std::array<int16_t, 6> kTable{0, 7, 3, 4, 5, 6};
    return layoutTexture < kTable.size() ? kTable[layoutTexture] : int16_t{-1};
}

// The box grows from the far corner of the 640 x 480 screen; a child area
// reaches to its far edge, hotspots and quads only to their points.
struct Box
{
    int64_t minX = 640, minY = 480, maxX = 0, maxY = 0;
    void include(int64_t x0, int64_t y0, int64_t x1, int64_t y1)
    {
        minX = std::min(minX, x0);
        minY = std::min(minY, y0);
        maxX = std::max(maxX, x1);
        maxY = std::max(maxY, y1);
    }
};

// The block of one gadget that starts at file offset `at`: box, offsets of
// the areas, hotspots and render list, then those three.
Bytes blockOf(const mdfwriter::Gadget& gadget, int yOffset, uint32_t at)
{
    Box box;
    Bytes areas, hotspots, quads;
    for (const auto& vector : gadget.rects)
        if (!vector.empty())
        {
            const mdfwriter::Rect& r = vector.front();
            const int16_t y = low16(int64_t{r.top} + yOffset);
            const int16_t w = low16(int64_t{r.right} - r.left), h = low16(int64_t{r.bottom} - r.top);
            put16s(areas, {r.left, y, w, h});
            box.include(r.left, y, int64_t{r.left} + w, int64_t{y} + h);
        }
    for (const auto& vector : gadget.hotspots)
        if (!vector.empty())
        {
            const mdfwriter::Hotspot& h = vector.front();
            const int16_t y = low16(int64_t{h.posY} + yOffset);
            put16s(hotspots,
                   {static_cast<int16_t>((h.flags >> 2) & 3), static_cast<int16_t>(h.flags & 3), h.posX, y});
            box.include(h.posX, y, h.posX, y);
        }
    const std::vector<mdfwriter::Prim> none;
    const mdfwriter::PrimList* list = gadget.primLists.empty() ? nullptr : &gadget.primLists.front();
    for (const mdfwriter::Prim& prim : list ? list->prims : none)
    {
        const bool textured = prim.type == mdfwriter::kPrimFT4 || prim.type == mdfwriter::kPrimGT4;
        const bool perVertex = prim.type == mdfwriter::kPrimG4 || prim.type == mdfwriter::kPrimGT4;
        mdfwriter::put8(quads, textured ? 1 : 0);
        mdfwriter::put8(quads, prim.mode & 7);
        put16s(quads, {textured ? gameTexture(prim.textureId) : int16_t{-1}});
        for (const mdfwriter::Vertex& v : prim.vertices)
        {
            const int16_t x = low16(int64_t{v.x} + list->offsetX);
            const int16_t y = low16(int64_t{v.y} + list->offsetY + yOffset);
            put16s(quads, {x, y});
            box.include(x, y, x, y);
        }
        for (size_t k = 0; k < 4; ++k)
        {
            const mdfwriter::Colour& c = prim.colours[perVertex ? k : 0];
            mdfwriter::put32(quads, uint32_t{c.r} << 16 | uint32_t{c.g} << 8 | c.b);
        }
    }
    Bytes out;
    put16s(out, {low16(box.minX), low16(box.minY), low16(box.maxX - box.minX), low16(box.maxY - box.minY)});
    const auto hotspotsAt = static_cast<uint32_t>(at + 20 + areas.size());
    const auto listAt = static_cast<uint32_t>(hotspotsAt + hotspots.size());
    const auto count = static_cast<uint32_t>(quads.size() / 36);
    mdfwriter::put32(out, areas.empty() ? 0 : at + 20);
    mdfwriter::put32(out, hotspots.empty() ? 0 : hotspotsAt);
    mdfwriter::put32(out, count ? listAt : 0);
    mdfwriter::putBytes(out, areas);
    mdfwriter::putBytes(out, hotspots);
    if (count)
        mdfwriter::put32(out, count);
    for (uint32_t k = 0; k < count; ++k)
        mdfwriter::put32(out, listAt + 4 + 4 * count + 36 * k);
    mdfwriter::putBytes(out, quads);
    return out;
}

} // namespace

Bytes encode(const mdfwriter::Layout& layout, int yOffset)
{
    const auto count = static_cast<uint32_t>(layout.gadgets.size());
    Bytes out, blocks;
    mdfwriter::put32(out, count);
    for (const mdfwriter::Gadget& gadget : layout.gadgets)
    {
        const auto at = static_cast<uint32_t>(4 + 4 * count + blocks.size());
        mdfwriter::put32(out, at);
        mdfwriter::putBytes(blocks, blockOf(gadget, yOffset, at));
    }
    mdfwriter::putBytes(out, blocks);
    return out;
}

} // namespace expectedrlf
