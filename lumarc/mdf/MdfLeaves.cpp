#include "MdfLeaves.h"

namespace
{
float readCoordinate(ScriptFileStream& stream)
{
    int16_t value = 0;
    stream.read16(value);
    return static_cast<float>(value);
}
} // namespace

ChunkTag& MdfRect::getTag(ChunkTag& out) const
{
    return out = ChunkTag("MDFRECT0");
}

bool MdfRect::read(ScriptFileStream& stream, uint32_t /*size*/)
{
    for (float* field : {&aux0, &aux1, &aux2, &aux3, &left, &top, &right, &bottom})
        *field = readCoordinate(stream);
    return !stream.failed();
}

ChunkTag& MdfHotspot::getTag(ChunkTag& out) const
{
    return out = ChunkTag("MDFHSPT0");
}

bool MdfHotspot::read(ScriptFileStream& stream, uint32_t /*size*/)
{
    for (float* field : {&auxX, &auxY, &posX, &posY})
        *field = readCoordinate(stream);
    uint8_t flags = 0;
    uint8_t ignored = 0;
    stream.read8(flags).read8(code).read8(ignored).read8(ignored);
    flagsB = flags & 3;
    flagsA = (flags >> 2) & 3;
    return !stream.failed();
}

ChunkTag& MdfGadgetOptions::getTag(ChunkTag& out) const
{
    return out = ChunkTag("MDFGPDO0");
}

bool MdfGadgetOptions::read(ScriptFileStream& stream, uint32_t /*size*/)
{
    constexpr uint32_t kIgnoredBytes = 28;
    uint32_t word = flag;
    stream.read32(word);
    flag = word & 1;
    stream.skip(kIgnoredBytes);
    return !stream.failed();
}

ChunkTag& MdfFontEntry::getTag(ChunkTag& out) const
{
    return out = ChunkTag("MDFLFTV0");
}

bool MdfFontEntry::read(ScriptFileStream& stream, uint32_t /*size*/)
{
    stream.read8(value0).read8(value1);
    stream.skip(2);
    return !stream.failed();
}
