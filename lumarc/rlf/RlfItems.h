#pragma once

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
    void include(int32_t x, int32_t y);
};

// Where every gadget's box starts: the far corner of a 640 x 480 screen, so
// that the first thing included sets both limits.
inline constexpr RlfBounds kEmptyRlfBounds{640, 480, 0, 0};

// One child area: top-left corner and extent.
struct RlfRect
{
    int16_t x = 0, y = 0, w = 0, h = 0;

    static constexpr int32_t kSize = 8;
    friend bool operator==(const RlfRect&, const RlfRect&) = default;
    void accumulateBounds(RlfBounds& bounds) const;
    bool write(BinaryOutStream& stream, uint32_t offset) const;
};

// One hotspot: two 2-bit flag codes and a point.
struct RlfHotspot
{
    int16_t flagsA = 0, flagsB = 0, x = 0, y = 0;

    static constexpr int32_t kSize = 8;
    void accumulateBounds(RlfBounds& bounds) const;
    bool write(BinaryOutStream& stream, uint32_t offset) const;
};

enum class RlfEntryKind : uint8_t
{
    Untextured = 0,
    Textured = 1,
};

struct RlfPoint
{
    int16_t x = 0;
    int16_t y = 0;
};

// One quad to draw. A fresh entry is all zero with no texture, which is also
// what an entry stays when its primitive cannot export itself.
struct RlfRenderEntry
{
    static constexpr int16_t kNoTexture = -1;
    static constexpr int32_t kSize = 36;

    RlfEntryKind kind = RlfEntryKind::Untextured;
    uint8_t modeLow = 0;
    int16_t textureId = kNoTexture;
    std::array<RlfPoint, 4> points{};
    // 0x00RRGGBB, one per point.
    std::array<uint32_t, 4> colours{};

    void accumulateBounds(RlfBounds& bounds) const;
    // Replaces textureId by the number the game's texture table uses.
    void remapTextureId();
    bool write(BinaryOutStream& stream, uint32_t offset) const;
};

// The game's texture numbering differs from the layout editor's: ids 0-5 map
// to 0, 7, 3, 4, 5, 6; every other id means no texture.
[[nodiscard]] int16_t TextureIdRemap(int16_t textureId);
