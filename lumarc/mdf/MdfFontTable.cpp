#include "MdfFontTable.h"

const ScriptFileChunk& MdfFontTable::childAt(int index) const
{
    switch (index)
    {
    case 1:
        return stringBank0;
    case 2:
        return stringBank1;
    default:
        return fonts;
    }
}

const ScriptFileChunk* MdfFontTable::findChild(const ChunkTag& tag) const
{
    return firstWithTag({&fonts, &stringBank0, &stringBank1}, tag);
}
