#pragma once

#include "PtrList.h"
#include "RlfItems.h"
#include "RlfRenderList.h"

#include <cstdint>
#include <memory>
#include <string_view>

// One gadget of a render list: its box, child areas, hotspots and quads.
class RlfGadget
{
public:
    // `name` refers to text owned by the layout model, which outlives this
    // gadget; it is shown to the user, never written.
    explicit RlfGadget(std::string_view gadgetName) : name(gadgetName) {}
    // Its lists keep their items in an arena the file shares among gadgets.
    RlfGadget(std::string_view gadgetName, ChunkArena& sharedChunks)
        : name(gadgetName), childAreas(sharedChunks), hotspots(sharedChunks), renderList(sharedChunks)
    {
    }

    void addChildArea(std::unique_ptr<RlfRect> rect) { childAreas.append(std::move(rect)); }
    void addHotspot(std::unique_ptr<RlfHotspot> hotspot) { hotspots.append(std::move(hotspot)); }

    [[nodiscard]] int64_t size() const;
    // Sets the box from everything the gadget holds and translates the
    // texture ids. Runs once: a second pass would translate the ids again.
    void layout();
    // Writes the gadget block that starts at absolute file offset `offset`.
    bool write(BinaryOutStream& stream, uint32_t offset) const;

    int16_t x = 0, y = 0, w = 0, h = 0;
    std::string_view name;
    PtrList<RlfRect> childAreas;
    PtrList<RlfHotspot> hotspots;
    RlfRenderList renderList;
};
