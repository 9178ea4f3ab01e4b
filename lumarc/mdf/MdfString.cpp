#include "MdfString.h"

bool MdfString::read(ScriptFileStream& stream, uint32_t size)
{
    text.clear();
    const uint64_t start = stream.position();
    if (size == 0)
    {
        stream.fail("string of size 0", start);
        return false;
    }
    if (!stream.require(size))
        return false;

    uint32_t left = size;
    bool terminated = false;
    while (left > 0 && !terminated)
    {
        uint8_t byte = 0;
        stream.read8(byte);
        --left;
        if (byte == 0)
            terminated = true;
        else
            text.push_back(static_cast<char>(byte));
    }
    if (!terminated)
    {
        text.clear();
        stream.fail("string without a terminating NUL", start);
        return false;
    }
    // The filler after the NUL is part of the body and ignored.
    stream.skip(left);
    return !stream.failed();
}

ChunkTag& MdfString::getTag(ChunkTag& out) const
{
    return out = ChunkTag("MDFSTR00");
}
