#include "RlfRenderList.h"

#include "BinaryOutStream.h"
#include "DebugOutput.h"

int64_t RlfRenderList::size() const
{
    return static_cast<int64_t>(rlf::renderListBytes(entries.count()));
}

void RlfRenderList::accumulateBounds(RlfBounds& bounds) const
{
    for (const RlfRenderEntry& entry : entries)
        entry.accumulateBounds(bounds);
}

void RlfRenderList::remapTextureIds()
{
    for (RlfRenderEntry& entry : entries)
        entry.remapTextureId();
}

bool RlfRenderList::write(BinaryOutStream& stream, uint32_t offset) const
{
    debugOutput("Writing renderlist header ... ");
    if (entries.empty())
        return !stream.failed();
    const auto n = static_cast<uint32_t>(entries.count());
    stream.writeU32(n);
    const uint32_t firstEntry = offset + static_cast<uint32_t>(rlf::kCountBytes + rlf::kOffsetBytes * n);
    for (uint32_t k = 0; k < n; ++k)
        stream.writeU32(firstEntry + static_cast<uint32_t>(RlfRenderEntry::kSize) * k);
    debugOutput("done.\n");
    debugOutput("Writing renderlist entries ...\n");
    uint32_t entryOffset = firstEntry;
    for (const RlfRenderEntry& entry : entries)
    {
        entry.write(stream, entryOffset);
        entryOffset += RlfRenderEntry::kSize;
    }
    debugOutput("done.\n");
    return !stream.failed();
}
