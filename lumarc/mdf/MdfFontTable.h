#pragma once

#include "MdfLeaves.h"
#include "MdfStringBank.h"
#include "MdfTaggedArray.h"
#include "ScriptFileRecord.h"

class MdfFont final : public MdfTaggedArray<MdfFontEntry, ChunkTag("MDFLFNT0")>
{
};
class MdfFontArray final : public MdfTaggedArray<MdfFont, ChunkTag("MDFLFTA0")>
{
};

// The fonts and two string banks of a layout; kept, not converted.
class MdfFontTable final : public ScriptFileRecord
{
public:
    using ScriptFileRecord::childAt;
    using ScriptFileRecord::findChild;

    ChunkTag& getTag(ChunkTag& out) const override { return out = ChunkTag("MDFFTAB0"); }
    [[nodiscard]] int childCount() const override { return 3; }
    [[nodiscard]] const ScriptFileChunk& childAt(int index) const override;
    [[nodiscard]] const ScriptFileChunk* findChild(const ChunkTag& tag) const override;

    MdfFontArray fonts;
    MdfStringBank0 stringBank0;
    MdfStringBank1 stringBank1;
};
