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
