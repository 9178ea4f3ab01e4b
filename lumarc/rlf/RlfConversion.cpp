#include "RlfConversion.h"

#include "MdfRoot.h"

namespace
{

void addChildAreas(RlfGadget& gadget, const MdfGadget& source, int yOffset)
{
    for (uint16_t i = 0; i < source.rects.count(); ++i)
    {
        const MdfRectVector& vector = source.rects.at(i);
        if (vector.count() == 0)
            continue;
        const MdfRect& rect = vector.at(0);
        RlfRect& area = gadget.childAreas.emplace();
        area.x = rlf::toCoordinate(rect.left);
        area.y = rlf::toCoordinate(static_cast<double>(yOffset) + rect.top);
        area.w = rlf::toCoordinate(double{rect.right} - rect.left);
        area.h = rlf::toCoordinate(double{rect.bottom} - rect.top);
    }
}

void addHotspots(RlfGadget& gadget, const MdfGadget& source, int yOffset)
{
    for (uint16_t i = 0; i < source.hotspots.count(); ++i)
    {
        const MdfHotspotVector& vector = source.hotspots.at(i);
        if (vector.count() == 0)
            continue;
        RlfHotspot& hotspot = gadget.hotspots.emplace();
        vector.at(0).exportRlf(hotspot);
        hotspot.y = static_cast<int16_t>(static_cast<uint16_t>(hotspot.y + yOffset));
    }
}

void addRenderEntries(RlfGadget& gadget, const MdfGadget& source, int yOffset)
{
    const MdfPrimList* list = source.firstPrimList();
    if (!list)
        return;
    for (const Ostrel_ScriptFilePrim_Base& prim : list->primitives)
    {
        RlfRenderEntry& entry = gadget.renderList.addNew();
        prim.doExport_RLF(entry);
        for (RlfPoint& point : entry.points)
        {
            point.x = rlf::toCoordinate(point.x + double{list->offsetX});
            point.y = rlf::toCoordinate(point.y + static_cast<double>(yOffset) + list->offsetY);
        }
    }
}

} // namespace

std::unique_ptr<RlfFile> buildRlf(const MdfRoot& model, int yOffset)
{
    auto file = std::make_unique<RlfFile>();
    for (uint16_t i = 0; i < model.gadgets.count(); ++i)
    {
        const MdfGadget& source = model.gadgets.at(i);
        RlfGadget& gadget = file->addNewGadget(model.gadgetName(i));
        addChildAreas(gadget, source, yOffset);
        addHotspots(gadget, source, yOffset);
        addRenderEntries(gadget, source, yOffset);
    }
    return file;
}
