#pragma once

#include "PtrList.h"
#include "RlfItems.h"

#include <cstdint>
#include <memory>

// The quads of one gadget, in drawing order.
class RlfRenderList
{
public:
    RlfRenderList() = default;
    // Entries kept in an arena the owner shares among its lists.
    explicit RlfRenderList(ChunkArena& sharedChunks) : entries(sharedChunks) {}

    void add(std::unique_ptr<RlfRenderEntry> entry) { entries.append(std::move(entry)); }
    // Appends a fresh entry made in the list's own storage, for filling.
    RlfRenderEntry& addNew() { return entries.emplace(); }

    // 0 without entries (the list then takes no bytes at all), otherwise a
    // count, one offset per entry and the entries.
    [[nodiscard]] int64_t size() const;
    void accumulateBounds(RlfBounds& bounds) const;
    void remapTextureIds();
    // Writes the list that starts at absolute file offset `offset`.
    bool write(BinaryOutStream& stream, uint32_t offset) const;

    PtrList<RlfRenderEntry> entries;
};
