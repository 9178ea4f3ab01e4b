#pragma once

#include "MdfFontTable.h"
#include "MdfGadget.h"
#include "MdfStringBank.h"
#include "MdfTaggedArray.h"
#include "ScriptFileRecord.h"

#include "ChunkArena.h"

class MdfGadgetTable final : public MdfTaggedArray<MdfGadget, ChunkTag("MDFTGDG0")>
{
};

// A whole screen layout. The file is this record's body; string i of
// stringBank0 names gadget i.
class MdfRoot final : public ScriptFileRecord
{
    // Declared first, so destroyed last: the primitive lists of the members
    // below keep their nodes in it.
    ChunkArena m_primitiveArena;

public:
    using ScriptFileRecord::childAt;
    using ScriptFileRecord::findChild;

    ChunkTag& getTag(ChunkTag& out) const override { return out = ChunkTag("MDFROOT0"); }
    [[nodiscard]] int childCount() const override { return 4; }
    [[nodiscard]] const ScriptFileChunk& childAt(int index) const override;
    [[nodiscard]] const ScriptFileChunk* findChild(const ChunkTag& tag) const override;

    // The name of gadget `index`: empty when the bank has no string for it.
    [[nodiscard]] const std::string& gadgetName(uint32_t index) const { return stringBank0.textAt(index); }

    // Reads the layout with every primitive list keeping its primitives in
    // this model's arena.
    bool read(ScriptFileStream& stream, uint32_t size) override;

    MdfStringBank0 stringBank0;
    MdfStringBank1 stringBank1;
    MdfGadgetTable gadgets;
    MdfFontTable fontTable;
};
