#pragma once

// lumarc/rlfformat owns the render-list format that the primitives' export,
// the writer and rlfinfo share: record sizes, field positions, kinds, records.

#include <cmath>
#include <cstdint>

namespace rlf
{

// Every count and offset is a 32-bit word; offsets are absolute in the file.
inline constexpr uint64_t kCountBytes = 4;
inline constexpr uint64_t kOffsetBytes = 4;
// Offsets are 32-bit, so no longer file could be addressed.
inline constexpr uint64_t kLongestFile = uint64_t{1} << 32;

// A gadget block: a header of four s16 (its box) and three part offsets,
// then its child areas, its hotspots and its render list. A missing part's
// offset is 0.
inline constexpr uint64_t kGadgetHeaderBytes = 20;
inline constexpr uint64_t kChildAreasField = 8;
inline constexpr uint64_t kHotspotsField = 12;
inline constexpr uint64_t kRenderListField = 16;

// A child area (x, y, w, h) or a hotspot (flagsA, flagsB, x, y): four s16.
inline constexpr uint64_t kRecordBytes = 8;

// A render entry: u8 kind, u8 modeLow, s16 textureId, four points of two
// s16, four colour words 0x00RRGGBB.
inline constexpr uint64_t kEntryBytes = 36;
inline constexpr uint32_t kColourUnusedBits = 0xFF000000;
inline constexpr int16_t kNoTexture = -1;

// A render list: a count, one offset per entry, the entries; a gadget
// without entries stores no list at all.
[[nodiscard]] constexpr uint64_t renderListBytes(uint64_t entries)
{
    return entries == 0 ? 0 : kCountBytes + (kOffsetBytes + kEntryBytes) * entries;
}

// A layout coordinate as the file stores it: truncated toward zero, low 16
// bits kept. Layout values are whole 16-bit numbers and their sums, far
// inside the 64-bit range; anything else (a NaN) is taken as 0 rather than
// trapped.
[[nodiscard]] inline int16_t toCoordinate(double value)
{
    constexpr double kLimit = 9.0e18;
    if (!(std::fabs(value) < kLimit))
        return 0;
    const auto whole = static_cast<int64_t>(std::trunc(value));
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(whole) & 0xFFFF));
}

} // namespace rlf

enum class RlfEntryKind : uint8_t
{
    Untextured = 0,
    Textured = 1,
};
