#pragma once

#include "ScriptFileArray.h"

// An array class whose tag is fixed at compile time; each concrete array of
// the layout format derives from one of these.
template <typename T, ChunkTag Tag>
class MdfTaggedArray : public ScriptFileArray<T>
{
public:
    ChunkTag& getTag(ChunkTag& out) const override { return out = Tag; }
};
