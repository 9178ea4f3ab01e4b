#include "MdfRoot.h"

const ScriptFileChunk& MdfRoot::childAt(int index) const
{
    switch (index)
    {
    case 1:
        return stringBank0;
    case 2:
        return stringBank1;
    case 3:
        return fontTable;
    default:
        return gadgets;
    }
}

const ScriptFileChunk* MdfRoot::findChild(const ChunkTag& tag) const
{
    return firstWithTag({&stringBank0, &stringBank1, &gadgets, &fontTable}, tag);
}

bool MdfRoot::read(ScriptFileStream& stream, uint32_t size)
{
    ChunkArena* const outer = stream.itemArena();
    stream.setItemArena(&m_primitiveArena);
    const bool read = ScriptFileRecord::read(stream, size);
    stream.setItemArena(outer);
    return read;
}
