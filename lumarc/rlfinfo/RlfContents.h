// What a render-list file holds, as plain values read from it. Offsets are
// absolute byte positions in the file.
#pragma once

#include "ByteReader.h"
#include "RlfItems.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rlfinfo
{

using ByteOrder = ::ByteOrder;

// The file's items are the writer's own values.
using EntryKind = RlfEntryKind;
using Point = RlfPoint;
using Area = RlfRect; // a gadget's box or one of its child areas
using Hotspot = RlfHotspot;

struct Entry
{
    uint32_t offset = 0;
    EntryKind kind = EntryKind::Untextured;
    uint8_t modeLow = 0;
    int16_t textureId = -1;
    std::array<Point, 4> points{};
    std::array<uint32_t, 4> colours{}; // 0x00RRGGBB
};

struct Gadget
{
    uint32_t offset = 0;
    Area box;
    // As stored: 0 where the gadget has none of that part.
    uint32_t childAreasOffset = 0;
    uint32_t hotspotsOffset = 0;
    uint32_t renderListOffset = 0;
    std::vector<Area> childAreas;
    std::vector<Hotspot> hotspots;
    std::vector<Entry> entries;
};

struct Contents
{
    uint64_t fileSize = 0;
    ByteOrder byteOrder = ByteOrder::LittleEndian;
    // Every stored offset field, zero ones included; all were found where
    // the layout puts them.
    uint64_t offsetsChecked = 0;
    std::vector<Gadget> gadgets;
};

// Where the file stops making sense and why.
struct Damage
{
    uint64_t offset = 0;
    std::string what;
};

struct ReadResult
{
    Contents contents;            // complete only without damage
    std::optional<Damage> damage; // set when the file is damaged
};

[[nodiscard]] inline const char* kindName(EntryKind kind)
{
    return kind == EntryKind::Textured ? "textured" : "untextured";
}

[[nodiscard]] inline const char* byteOrderName(ByteOrder order)
{
    return order == ByteOrder::BigEndian ? "big-endian" : "little-endian";
}

} // namespace rlfinfo
