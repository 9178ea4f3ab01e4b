#include "RlfJsonReport.h"

#include "RlfTextReport.h"

#include <nlohmann/json.hpp>

namespace rlfinfo
{

namespace
{

using Json = nlohmann::ordered_json;

Json areaJson(const Area& area)
{
    return Json{{"x", area.x}, {"y", area.y}, {"w", area.w}, {"h", area.h}};
}

Json entryJson(const Entry& entry)
{
    Json points = Json::array();
    for (const Point& point : entry.points)
        points.push_back(Json{{"x", point.x}, {"y", point.y}});
    Json colours = Json::array();
    for (uint32_t colour : entry.colours)
        colours.push_back(colourText(colour));
    return Json{{"offset", entry.offset},      {"kind", kindName(entry.kind)},
                {"mode_low", entry.modeLow},   {"texture_id", entry.textureId},
                {"points", std::move(points)}, {"colours", std::move(colours)}};
}

Json gadgetJson(const Gadget& gadget)
{
    Json childAreas = Json::array();
    for (const Area& area : gadget.childAreas)
        childAreas.push_back(areaJson(area));
    Json hotspots = Json::array();
    for (const Hotspot& hotspot : gadget.hotspots)
        hotspots.push_back(Json{
            {"flags_a", hotspot.flagsA}, {"flags_b", hotspot.flagsB}, {"x", hotspot.x}, {"y", hotspot.y}});
    Json entries = Json::array();
    for (const Entry& entry : gadget.entries)
        entries.push_back(entryJson(entry));
    return Json{{"offset", gadget.offset},
                {"box", areaJson(gadget.box)},
                {"offsets", Json{{"child_areas", gadget.childAreasOffset},
                                 {"hotspots", gadget.hotspotsOffset},
                                 {"render_list", gadget.renderListOffset}}},
                {"child_areas", std::move(childAreas)},
                {"hotspots", std::move(hotspots)},
                {"entries", std::move(entries)}};
}

} // namespace

std::string jsonReport(const Contents& contents)
{
    Json gadgets = Json::array();
    for (const Gadget& gadget : contents.gadgets)
        gadgets.push_back(gadgetJson(gadget));
    const Json document{{"gadget_count", contents.gadgets.size()},
                        {"bytes", contents.fileSize},
                        {"byte_order", byteOrderName(contents.byteOrder)},
                        {"offsets_checked", contents.offsetsChecked},
                        {"gadgets", std::move(gadgets)}};
    return document.dump(2) + '\n';
}

} // namespace rlfinfo
