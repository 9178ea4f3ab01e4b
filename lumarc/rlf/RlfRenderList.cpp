#include "RlfRenderList.h"

#include "BinaryOutStream.h"
#include "DebugOutput.h"

namespace
{
constexpr int64_t kCountBytes = 4;
constexpr int64_t kOffsetBytes = 4;
} // namespace

int64_t RlfRenderList::size() const
{
    const auto n = static_cast<int64_t>(entries.count());
    return n == 0 ? 0 : kCountBytes + n * (kOffsetBytes + RlfRenderEntry::kSize);
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
    const uint32_t firstEntry = offset + static_cast<uint32_t>(kCountBytes + kOffsetBytes * n);
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
