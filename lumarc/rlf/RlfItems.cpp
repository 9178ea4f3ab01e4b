#include "RlfItems.h"

#include "BinaryOutStream.h"
#include "DebugOutput.h"

#include <algorithm>

void RlfBounds::include(int32_t x, int32_t y)
{
    minX = std::min(minX, x);
    minY = std::min(minY, y);
    maxX = std::max(maxX, x);
    maxY = std::max(maxY, y);
}

void RlfRect::accumulateBounds(RlfBounds& bounds) const
{
    // Only the near edge lowers the minimum and only the far edge raises the
    // maximum, also when the extent is negative.
    bounds.minX = std::min(bounds.minX, int32_t{x});
    bounds.minY = std::min(bounds.minY, int32_t{y});
    bounds.maxX = std::max(bounds.maxX, int32_t{x} + w);
    bounds.maxY = std::max(bounds.maxY, int32_t{y} + h);
}

bool RlfRect::write(BinaryOutStream& stream, uint32_t /*offset*/) const
{
    debugOutput("Writing rect ... ");
    for (int16_t value : {x, y, w, h})
        stream.writeU16(static_cast<uint16_t>(value));
    debugOutput("done.\n");
    return !stream.failed();
}

void RlfHotspot::accumulateBounds(RlfBounds& bounds) const
{
    bounds.include(x, y);
}

bool RlfHotspot::write(BinaryOutStream& stream, uint32_t /*offset*/) const
{
    debugOutput("Writing hotspot ... ");
    for (int16_t value : {flagsA, flagsB, x, y})
        stream.writeU16(static_cast<uint16_t>(value));
    debugOutput("done.\n");
    return !stream.failed();
}

void RlfRenderEntry::accumulateBounds(RlfBounds& bounds) const
{
    for (const RlfPoint& point : points)
        bounds.include(point.x, point.y);
}

void RlfRenderEntry::remapTextureId()
{
    textureId = TextureIdRemap(textureId);
}

bool RlfRenderEntry::write(BinaryOutStream& stream, uint32_t /*offset*/) const
{
    const bool tracing = debugOutputEnabled();
    if (tracing)
        debugOutput("Writing renderlist entry ... ");
    // Assembled first and written at once: a large list has millions of them.
    std::array<uint8_t, kSize> block{};
    uint8_t* out = block.data();
    stream.putValue<1>(out, static_cast<uint8_t>(kind));
    stream.putValue<1>(out + 1, modeLow);
    stream.putValue<2>(out + 2, static_cast<uint16_t>(textureId));
    out += 4;
    for (const RlfPoint& point : points)
    {
        stream.putValue<2>(out, static_cast<uint16_t>(point.x));
        stream.putValue<2>(out + 2, static_cast<uint16_t>(point.y));
        out += 4;
    }
    for (uint32_t colour : colours)
    {
        stream.putValue<4>(out, colour);
        out += 4;
    }
    stream.writeRaw(block.data(), block.size());
    if (tracing)
        debugOutput("done.\n");
    return !stream.failed();
}

int16_t TextureIdRemap(int16_t textureId)
{
    switch (textureId)
    {
    case 0:
        return 0;
    case 1:
        return 7;
    case 2:
        return 3;
    case 3:
        return 4;
    case 4:
        return 5;
    case 5:
        return 6;
    default:
        return RlfRenderEntry::kNoTexture;
    }
}
