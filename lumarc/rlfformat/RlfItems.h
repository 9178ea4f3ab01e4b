#pragma once

// The records of a render list as plain values: what the primitives' export
// fills, the writer writes and the reader reads back. Their write operations
// are the writer's (lumarc/rlf/RlfItemWrite.cpp); everything else is here, so
// that the layout model can fill records without linking the writer.

#include "RlfFormat.h"

#include <algorithm>
#include <array>
#include <cstdint>

class BinaryOutStream;

// Running limits of a gadget's box; 32-bit so that far edges (x + w) of
// 16-bit rectangles never wrap.
struct RlfBounds
{
    int32_t minX;
    int32_t minY;
    int32_t maxX;
    int32_t maxY;

    // Widens the limits to include the point (x, y).
    void include(int32_t x, int32_t y)
    {
        minX = std::min(minX, x);
        minY = std::min(minY, y);
        maxX = std::max(maxX, x);
        maxY = std::max(maxY, y);
    }
};

// Where every gadget's box starts: the far corner of a 640 x 480 screen, so
// that the first thing included sets both limits.
inline constexpr RlfBounds kEmptyRlfBounds{640, 480, 0, 0};

// One child area: top-left corner and extent.
struct RlfRect
{
    int16_t x = 0, y = 0, w = 0, h = 0;

    static constexpr int32_t kSize = rlf::kRecordBytes;
    friend bool operator==(const RlfRect&, const RlfRect&) = default;
    void accumulateBounds(RlfBounds& bounds) const
    {
        // Only the near edge lowers the minimum and only the far edge raises
        // the maximum, also when the extent is negative.
        bounds.minX = std::min(bounds.minX, int32_t{x});
        bounds.minY = std::min(bounds.minY, int32_t{y});
        bounds.maxX = std::max(bounds.maxX, int32_t{x} + w);
        bounds.maxY = std::max(bounds.maxY, int32_t{y} + h);
    }
    bool write(BinaryOutStream& stream, uint32_t offset) const;
};

// One hotspot: two 2-bit flag codes and a point.
struct RlfHotspot
{
    int16_t flagsA = 0, flagsB = 0, x = 0, y = 0;

    static constexpr int32_t kSize = rlf::kRecordBytes;
    void accumulateBounds(RlfBounds& bounds) const { bounds.include(x, y); }
    bool write(BinaryOutStream& stream, uint32_t offset) const;
};

struct RlfPoint
{
    int16_t x = 0;
    int16_t y = 0;
};

// The game's texture numbering differs from the layout editor's: ids 0-5 map
// to 0, 7, 3, 4, 5, 6; every other id means no texture.
[[nodiscard]] constexpr int16_t TextureIdRemap(int16_t textureId)
{
    constexpr std::array<int16_t, 6> kGameIds{0, 7, 3, 4, 5, 6};
    return textureId >= 0 && textureId < static_cast<int16_t>(kGameIds.size())
               ? kGameIds[static_cast<std::size_t>(textureId)]
               : rlf::kNoTexture;
}

// One quad to draw. A fresh entry is all zero with no texture, which is also
// what an entry stays when its primitive cannot export itself.
struct RlfRenderEntry
{
    static constexpr int16_t kNoTexture = rlf::kNoTexture;
    static constexpr int32_t kSize = rlf::kEntryBytes;

    RlfEntryKind kind = RlfEntryKind::Untextured;
    uint8_t modeLow = 0;
    int16_t textureId = kNoTexture;
    std::array<RlfPoint, 4> points{};
    // 0x00RRGGBB, one per point.
    std::array<uint32_t, 4> colours{};

    void accumulateBounds(RlfBounds& bounds) const
    {
        for (const RlfPoint& point : points)
            bounds.include(point.x, point.y);
    }
    // Replaces textureId by the number the game's texture table uses.
    void remapTextureId() { textureId = TextureIdRemap(textureId); }
    bool write(BinaryOutStream& stream, uint32_t offset) const;
};
