#pragma once

#include "MdfPrimList.h"
#include "ScriptFileChunk.h"

#include <memory>
#include <vector>

// The primitive lists of a gadget, each read by the list reader; the body
// has no size table, only a count.
class MdfPrimListArray final : public ScriptFileChunk
{
public:
    ChunkTag& getTag(ChunkTag& out) const override;
    bool read(ScriptFileStream& stream, uint32_t size) override;

    [[nodiscard]] uint32_t count() const { return static_cast<uint32_t>(items.size()); }

    std::vector<std::unique_ptr<MdfPrimList>> items;
};

// The chunk a gadget names its primitive lists by; it reads them through the
// array it holds.
class MdfPrimSet final : public ScriptFileChunk
{
public:
    ChunkTag& getTag(ChunkTag& out) const override;
    bool read(ScriptFileStream& stream, uint32_t size) override;

    MdfPrimListArray lists;
};
