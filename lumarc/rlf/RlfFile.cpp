#include "RlfFile.h"

#include "BinaryOutStream.h"
#include "DebugOutput.h"

int64_t RlfFile::size() const
{
    auto total = static_cast<int64_t>(rlf::kCountBytes);
    for (const RlfGadget& gadget : gadgets)
        total += static_cast<int64_t>(rlf::kOffsetBytes) + gadget.size();
    return total;
}

void RlfFile::layout()
{
    for (RlfGadget& gadget : gadgets)
        gadget.layout();
}

bool RlfFile::write(BinaryOutStream& stream) const
{
    debugOutput("Writing RLF header ... ");
    const auto gadgetCount = static_cast<uint32_t>(gadgets.count());
    stream.writeU32(gadgetCount);
    const uint32_t firstGadget = static_cast<uint32_t>(rlf::kCountBytes + rlf::kOffsetBytes * gadgetCount);
    uint32_t offset = firstGadget;
    for (const RlfGadget& gadget : gadgets)
    {
        stream.writeU32(offset);
        offset += static_cast<uint32_t>(gadget.size());
    }
    debugOutput("done.\n");
    debugOutput("Writing gadgets ...\n");
    offset = firstGadget;
    for (const RlfGadget& gadget : gadgets)
    {
        gadget.write(stream, offset);
        offset += static_cast<uint32_t>(gadget.size());
    }
    return !stream.failed();
}
