#pragma once

#include "ChunkTag.h"
#include "ScriptFileStream.h"

#include <cstdint>

// The base of every chunk class: it names its tag and reads its own body.
class ScriptFileChunk
{
public:
    ScriptFileChunk() = default;
    ScriptFileChunk(const ScriptFileChunk&) = delete;
    ScriptFileChunk& operator=(const ScriptFileChunk&) = delete;
    virtual ~ScriptFileChunk() = default;

    // Writes the class's tag into `out` and returns it.
    virtual ChunkTag& getTag(ChunkTag& out) const = 0;
    // Fills the object from the stream; `size` is the body length the parent
    // announced (0 for the root). Returns false when the stream has failed.
    virtual bool read(ScriptFileStream& stream, uint32_t size) = 0;

    [[nodiscard]] ChunkTag tag() const
    {
        ChunkTag out;
        return getTag(out);
    }
};
