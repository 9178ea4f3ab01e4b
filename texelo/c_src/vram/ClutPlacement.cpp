#include "vram/ClutPlacement.h"

#include "vram/VramGeometry.h"

#include <algorithm>

namespace
{
// The separate CLUT area: the last page column of the bottom band.
constexpr int kSeparateAreaWidth = kPageWidth;
constexpr int kSeparateAreaX = kVramWidth - kSeparateAreaWidth;
constexpr int kSeparateAreaFirstRow = kBandHeight;
constexpr int kBandBottom = kBandHeight - 1;

bool sameClut(const TextureRecord& a, const TextureRecord& b)
{
    if (a.ClutWidth == 0 || a.ClutWidth != b.ClutWidth || a.ClutExtraRows != b.ClutExtraRows)
        return false;
    const std::size_t entries = static_cast<std::size_t>(a.ClutWidth) * (a.ClutExtraRows + 1u);
    if (a.ClutData.size() < entries || b.ClutData.size() < entries)
        return false;
    return std::equal(a.ClutData.begin(), a.ClutData.begin() + static_cast<std::ptrdiff_t>(entries),
                      b.ClutData.begin());
}

ClutPlacement placeInSeparateArea(ClutAllocator& clut, TextureRecord& record)
{
    if (record.ClutWidth > kSeparateAreaWidth)
        return ClutPlacement::TooWide;
    const ClutAllocator before = clut;
    if (clut.cursor + record.ClutWidth > kVramWidth)
    {
        // A new row starts past the tallest CLUT of the row it leaves.
        clut.cursor = kSeparateAreaX;
        clut.row += std::max(clut.separateRowHeight, 1);
        clut.separateRowHeight = 0;
    }
    // The area ends with VRAM: a CLUT below its last line would be written
    // where no console can load it.
    if (clut.row + record.ClutExtraRows >= kVramHeight)
    {
        clut = before;
        return ClutPlacement::NoRoom;
    }
    record.ClutX = static_cast<uint16_t>(clut.cursor - kSeparateAreaX);
    record.ClutY = static_cast<uint16_t>(clut.row - kSeparateAreaFirstRow);
    clut.cursor += record.ClutWidth;
    clut.separateRowHeight = std::max(clut.separateRowHeight, record.ClutExtraRows + 1);
    return ClutPlacement::Placed;
}

bool placeInGroup(const std::array<uint16_t, kVramColumns>& skyline, ClutAllocator& clut,
                  TextureRecord& record, int groupOriginX, int groupWidth, int bandOriginY)
{
    const int width = record.ClutWidth;
    const int extraRows = record.ClutExtraRows;
    const int groupEnd = groupOriginX + groupWidth;
    // A CLUT wider than its group would reach into its neighbour's columns.
    if (width > groupWidth)
        return false;
    const ClutAllocator before = clut;
    bool restartedInPlace = false;
    for (;;)
    {
        if (clut.cursor + width > groupEnd)
        {
            // A strip with nothing in it cannot move up: scanning it again
            // would find the same blocked columns.
            if (clut.stripHeight == 0 && restartedInPlace)
                break;
            restartedInPlace = clut.stripHeight == 0;
            clut.cursor = groupOriginX;
            clut.row -= clut.stripHeight;
            clut.stripHeight = 0;
            clut.stripExtraRows = 0;
        }
        if (clut.row <= bandOriginY)
            break;
        const int firstBlocked = [&]
        {
            for (int column = clut.cursor; column < clut.cursor + width; ++column)
                if (skyline[static_cast<std::size_t>(column)] >= clut.row - extraRows)
                    return column;
            return -1;
        }();
        if (firstBlocked >= 0)
        {
            clut.cursor += width;
            continue;
        }
        record.ClutX = static_cast<uint16_t>(clut.cursor - groupOriginX);
        record.ClutY = static_cast<uint16_t>(clut.row - extraRows - bandOriginY);
        clut.cursor += width;
        clut.stripHeight = std::max(clut.stripHeight, extraRows + 1);
        clut.stripExtraRows = std::max(clut.stripExtraRows, extraRows);
        return true;
    }
    // Everything the search changed is taken back, the strip height too: a
    // strip left at height 0 would let the next CLUT start a new strip on
    // the row of the one it failed to leave, on top of its CLUTs.
    clut = before;
    return false;
}

} // namespace

ClutAllocator startClutAllocator(bool separateCluts)
{
    ClutAllocator clut;
    if (separateCluts)
    {
        clut.cursor = kSeparateAreaX;
        clut.row = kSeparateAreaFirstRow;
    }
    else
    {
        clut.cursor = 0;
        clut.row = kBandBottom;
    }
    return clut;
}

void moveClutAllocatorToGroup(ClutAllocator& clut, int groupOriginX, int bandOriginY)
{
    clut.cursor = groupOriginX;
    clut.row = bandOriginY + kBandBottom;
    clut.stripExtraRows = 0;
}

bool FindMatchingClut(const TextureList& records, bool separateCluts, TextureRecord& record, uint8_t group)
{
    const bool anyGroup = separateCluts;
    for (const auto& candidate : records)
    {
        const bool inScope = anyGroup ? candidate->Group != 0 : candidate->Group == group;
        if (!inScope || candidate.get() == &record || !sameClut(*candidate, record))
            continue;
        record.ClutX = candidate->ClutX;
        record.ClutY = candidate->ClutY;
        record.ClutGroupX = candidate->ClutGroupX;
        record.ClutGroupY = candidate->ClutGroupY;
        record.ClutSharedWith = candidate->ClutSharedWith.value_or(candidate->Id);
        return true;
    }
    return false;
}

ClutPlacement PlaceClut(const std::array<uint16_t, kVramColumns>& skyline, bool separateCluts,
                        ClutAllocator& clut, TextureRecord& record, int groupOriginX, int groupWidth,
                        int bandOriginY)
{
    const ClutPlacement placed = separateCluts ? placeInSeparateArea(clut, record)
                                 : placeInGroup(skyline, clut, record, groupOriginX, groupWidth, bandOriginY)
                                     ? ClutPlacement::Placed
                                     : ClutPlacement::NoRoom;
    // A separate CLUT counts from the separate area, wherever its texture is.
    if (placed == ClutPlacement::Placed)
    {
        record.ClutGroupX = static_cast<uint16_t>(separateCluts ? kSeparateClutAreaX : groupOriginX);
        record.ClutGroupY = static_cast<uint16_t>(separateCluts ? kSeparateClutAreaY : bandOriginY);
    }
    return placed;
}

uint16_t separateAreaClutRow(const ClutAllocator& clut)
{
    return static_cast<uint16_t>(clut.row + std::max(clut.separateRowHeight, 1) - 1);
}
