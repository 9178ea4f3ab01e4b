#include "MdfPrimSet.h"

namespace
{
// Two s16 offsets and a terminating header: the least a list can occupy.
constexpr uint64_t kSmallestListBytes = 8;
} // namespace

ChunkTag& MdfPrimListArray::getTag(ChunkTag& out) const
{
    return out = ChunkTag("MDF___I0");
}

bool MdfPrimListArray::read(ScriptFileStream& stream, uint32_t /*size*/)
{
    uint32_t spare = 0;
    uint32_t listCount = 0;
    stream.read32(spare).read32(listCount);
    items.clear();
    if (listCount == 0 || !stream.require(listCount * kSmallestListBytes))
        return !stream.failed();
    items.reserve(listCount);
    for (uint32_t i = 0; i < listCount && !stream.failed(); ++i)
        items.push_back(readPrimList(stream));
    return !stream.failed();
}

ChunkTag& MdfPrimSet::getTag(ChunkTag& out) const
{
    return out = ChunkTag("MDFSVPI0");
}

bool MdfPrimSet::read(ScriptFileStream& stream, uint32_t size)
{
    return lists.read(stream, size);
}
