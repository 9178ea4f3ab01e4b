// The records' write operations: each writes itself at the stream's position.

#include "RlfItems.h"

#include "BinaryOutStream.h"
#include "DebugOutput.h"

#include <initializer_list>

namespace
{
// Child areas and hotspots are both four s16 values; only the trace differs.
bool writeRecord(BinaryOutStream& stream, const char* trace, std::initializer_list<int16_t> values)
{
    debugOutput(trace);
    for (int16_t value : values)
        stream.writeU16(static_cast<uint16_t>(value));
    debugOutput("done.\n");
    return !stream.failed();
}
} // namespace

bool RlfRect::write(BinaryOutStream& stream, uint32_t /*offset*/) const
{
    return writeRecord(stream, "Writing rect ... ", {x, y, w, h});
}

bool RlfHotspot::write(BinaryOutStream& stream, uint32_t /*offset*/) const
{
    return writeRecord(stream, "Writing hotspot ... ", {flagsA, flagsB, x, y});
}

bool RlfRenderEntry::write(BinaryOutStream& stream, uint32_t /*offset*/) const
{
    const bool tracing = debugOutputEnabled();
    if (tracing)
        debugOutput("Writing renderlist entry ... ");
    // Assembled first and written at once: a large list has millions of them.
    std::array<uint8_t, kSize> block{};
    uint8_t* out = block.data();
    stream.putValue<1>(out, static_cast<uint8_t>(kind));
    stream.putValue<1>(out + 1, modeLow);
    stream.putValue<2>(out + 2, static_cast<uint16_t>(textureId));
    out += 4;
    for (const RlfPoint& point : points)
    {
        stream.putValue<2>(out, static_cast<uint16_t>(point.x));
        stream.putValue<2>(out + 2, static_cast<uint16_t>(point.y));
        out += 4;
    }
    for (uint32_t colour : colours)
    {
        stream.putValue<4>(out, colour);
        out += 4;
    }
    stream.writeRaw(block.data(), block.size());
    if (tracing)
        debugOutput("done.\n");
    return !stream.failed();
}
