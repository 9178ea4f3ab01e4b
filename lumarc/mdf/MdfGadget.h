#pragma once

#include "MdfLeaves.h"
#include "MdfPrimSet.h"
#include "MdfTaggedArray.h"
#include "ScriptFileRecord.h"

class MdfHotspotVector final : public MdfTaggedArray<MdfHotspot, ChunkTag("MDFVHSP0")>
{
};
class MdfHotspotTable final : public MdfTaggedArray<MdfHotspotVector, ChunkTag("MDFTVHS0")>
{
};
class MdfRectVector final : public MdfTaggedArray<MdfRect, ChunkTag("MDFVREC0")>
{
};
class MdfRectTable final : public MdfTaggedArray<MdfRectVector, ChunkTag("MDFTVRE0")>
{
};

// One gadget: its primitive lists, hotspots, child rectangles and options.
// Each hotspot and child rectangle is a vector of which only the first
// element is used.
class MdfGadget final : public ScriptFileRecord
{
public:
    using ScriptFileRecord::childAt;
    using ScriptFileRecord::findChild;

    ChunkTag& getTag(ChunkTag& out) const override { return out = ChunkTag("MDFGARC0"); }
    [[nodiscard]] int childCount() const override { return 4; }
    [[nodiscard]] const ScriptFileChunk& childAt(int index) const override;
    [[nodiscard]] const ScriptFileChunk* findChild(const ChunkTag& tag) const override;

    // Number of primitives in the first primitive list (0 without lists).
    [[nodiscard]] std::size_t primitiveCount() const;
    // The first primitive list, the only one that is drawn; nullptr without.
    [[nodiscard]] const MdfPrimList* firstPrimList() const;

    MdfPrimSet prims;
    MdfHotspotTable hotspots;
    MdfRectTable rects;
    MdfGadgetOptions options;
};
