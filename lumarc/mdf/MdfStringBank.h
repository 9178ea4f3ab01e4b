#pragma once

#include "MdfString.h"
#include "ScriptFileArray.h"

// An array of strings; the two banks differ only in their tag.
class MdfStringBank : public ScriptFileArray<MdfString>
{
public:
    // Text of string `index`, or an empty text when the bank holds fewer.
    [[nodiscard]] const std::string& textAt(uint32_t index) const;
};

class MdfStringBank0 final : public MdfStringBank
{
public:
    ChunkTag& getTag(ChunkTag& out) const override { return out = ChunkTag("MDFDSB00"); }
};

class MdfStringBank1 final : public MdfStringBank
{
public:
    ChunkTag& getTag(ChunkTag& out) const override { return out = ChunkTag("MDFDSB01"); }
};
