#pragma once

#include "Ostrel_ScriptFilePrim_Base.h"
#include "PtrList.h"
#include "ScriptFileStream.h"

#include <memory>

// A screen offset and the quads drawn at it, in file order.
class MdfPrimList
{
public:
    MdfPrimList() = default;
    // Primitives kept in an arena the owner shares among its lists.
    explicit MdfPrimList(ChunkArena& sharedChunks) : primitives(sharedChunks) {}
    virtual ~MdfPrimList() = default;

    // Union of the primitives' boxes moved by the offset; set only when the
    // list holds at least one primitive.
    PrimBounds bounds;
    PtrList<Ostrel_ScriptFilePrim_Base> primitives;
    float offsetX = 0;
    float offsetY = 0;
};

// Reads one primitive-list body: two s16 offsets, then primitive records up
// to a header whose type is not a quad type. Returns the list read so far;
// on a truncated list the stream is left failed.
[[nodiscard]] std::unique_ptr<MdfPrimList> readPrimList(ScriptFileStream& stream);
