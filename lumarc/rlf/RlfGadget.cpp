#include "RlfGadget.h"

#include "BinaryOutStream.h"
#include "DebugOutput.h"

namespace
{
// Writes a gadget's child areas or hotspots, one 8-byte record each from
// offset `at`, with the trace line that announces them or says there are none.
template <typename Record>
void writeRecords(BinaryOutStream& stream, const PtrList<Record>& records, uint32_t at, const char* heading,
                  const char* none)
{
    if (records.empty())
    {
        debugOutput(none);
        return;
    }
    debugOutput(heading);
    for (const Record& record : records)
    {
        record.write(stream, at);
        at += Record::kSize;
    }
}

} // namespace

int64_t RlfGadget::size() const
{
    return static_cast<int64_t>(rlf::kGadgetHeaderBytes) +
           RlfRect::kSize * static_cast<int64_t>(childAreas.count()) +
           RlfHotspot::kSize * static_cast<int64_t>(hotspots.count()) + renderList.size();
}

void RlfGadget::layout()
{
    RlfBounds bounds = kEmptyRlfBounds;
    for (const RlfRect& rect : childAreas)
        rect.accumulateBounds(bounds);
    for (const RlfHotspot& hotspot : hotspots)
        hotspot.accumulateBounds(bounds);
    renderList.accumulateBounds(bounds);
    x = static_cast<int16_t>(bounds.minX);
    y = static_cast<int16_t>(bounds.minY);
    w = static_cast<int16_t>(bounds.maxX - bounds.minX);
    h = static_cast<int16_t>(bounds.maxY - bounds.minY);
    renderList.remapTextureIds();
}

bool RlfGadget::write(BinaryOutStream& stream, uint32_t offset) const
{
    debugOutput("Writing gadget header ...");
    for (int16_t value : {x, y, w, h})
        stream.writeU16(static_cast<uint16_t>(value));
    const auto childCount = static_cast<uint32_t>(childAreas.count());
    const auto hotspotCount = static_cast<uint32_t>(hotspots.count());
    const uint32_t rectsAt = offset + static_cast<uint32_t>(rlf::kGadgetHeaderBytes);
    const uint32_t hotspotsAt = rectsAt + RlfRect::kSize * childCount;
    const uint32_t renderListAt = hotspotsAt + RlfHotspot::kSize * hotspotCount;
    stream.writeU32(childCount > 0 ? rectsAt : 0);
    stream.writeU32(hotspotCount > 0 ? hotspotsAt : 0);
    stream.writeU32(renderList.size() > 0 ? renderListAt : 0);
    debugOutput("done.\n");

    writeRecords(stream, childAreas, rectsAt, "Writing child areas ...\n", "No child areas.\n");
    writeRecords(stream, hotspots, hotspotsAt, "Writing hotspots ...\n", "No hotspots.\n");
    renderList.write(stream, renderListAt);
    return !stream.failed();
}
