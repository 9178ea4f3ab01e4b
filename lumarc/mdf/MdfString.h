#pragma once

#include "ScriptFileChunk.h"

#include <string>

// One text of a string bank: the bytes up to a NUL, then filler up to the
// body's size.
class MdfString final : public ScriptFileChunk
{
public:
    ChunkTag& getTag(ChunkTag& out) const override;
    bool read(ScriptFileStream& stream, uint32_t size) override;

    std::string text;
};
