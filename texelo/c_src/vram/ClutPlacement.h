#pragma once

#include "vram/TextureRecord.h"

#include <cstdint>
#include <unordered_set>

// Where the next CLUT goes. Without separate CLUTs, CLUTs fill strips at
// the bottom of their page group, each strip above the tallest CLUT of the
// one below; with separate CLUTs they fill rows of a 64-word area.
struct ClutAllocator
{
    int cursor = 0;            // VRAM column the next CLUT is tried at
    int row = 0;               // bottom line of the current strip; 256 + row of the separate area
    int stripHeight = 0;       // rows of the tallest CLUT in the current strip
    int stripExtraRows = 0;    // largest ClutExtraRows placed in the current strip of this group
    int separateRowHeight = 0; // rows of the tallest CLUT in the current separate row
    uint16_t uniqueCount = 0;
};

// Textures already told that their CLUT cannot go to the separate area, so
// that each is told once however often it is tried.
using ClutRefusals = std::unordered_set<const TextureRecord*>;

enum class ClutPlacement : uint8_t
{
    Placed,
    NoRoom,
    TooWide, // wider than the separate area, so never anywhere
};

// The allocator at the start of a bank.
[[nodiscard]] ClutAllocator startClutAllocator(bool separateCluts);

// Moves the allocator to a newly opened group (only without separate CLUTs).
void moveClutAllocatorToGroup(ClutAllocator& clut, int groupOriginX, int bandOriginY);

// Gives `record` the position of an identical CLUT already placed: in the
// same group, or with separate CLUTs anywhere in the bank. True when found.
[[nodiscard]] bool FindMatchingClut(const TextureList& records, bool separateCluts, TextureRecord& record,
                                    uint8_t group);

// Allocates room for `record`'s CLUT, below the images that `skyline` holds
// or in the separate area.
[[nodiscard]] ClutPlacement PlaceClut(const std::array<uint16_t, kVramColumns>& skyline, bool separateCluts,
                                      ClutAllocator& clut, TextureRecord& record, int groupOriginX,
                                      int groupWidth, int bandOriginY);

// The bank header's row count of the separate area: every row the CLUTs
// occupy, the extra rows of a tall CLUT in the last row included.
[[nodiscard]] uint16_t separateAreaClutRow(const ClutAllocator& clut);
