#include "MdfGadget.h"

const ScriptFileChunk& MdfGadget::childAt(int index) const
{
    switch (index)
    {
    case 1:
        return rects;
    case 2:
        return options;
    case 3:
        return prims;
    default:
        return hotspots;
    }
}

const ScriptFileChunk* MdfGadget::findChild(const ChunkTag& tag) const
{
    return firstWithTag({&hotspots, &rects, &prims, &options}, tag);
}

const MdfPrimList* MdfGadget::firstPrimList() const
{
    return prims.lists.items.empty() ? nullptr : prims.lists.items.front().get();
}

std::size_t MdfGadget::primitiveCount() const
{
    const MdfPrimList* list = firstPrimList();
    return list ? list->primitives.count() : 0;
}
